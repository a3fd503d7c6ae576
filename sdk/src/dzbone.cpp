#include "dzbone.h"

DzBone::DzBone() = default;

DzBone::~DzBone() = default;
