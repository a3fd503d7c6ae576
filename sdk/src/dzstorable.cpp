#include "dzstorable.h"

DzStorable::DzStorable() = default;

DzStorable::~DzStorable() = default;
