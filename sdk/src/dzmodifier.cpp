#include "dzmodifier.h"

DzModifier::DzModifier() = default;

DzModifier::~DzModifier() = default;
