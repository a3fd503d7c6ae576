#include "dzmodifier.h"

DzModifier::DzModifier() = default;

DzModifier::~DzModifier() = default;

bool DzModifier::isWeightMapModifier() const {
    return inherits("DzSkinBinding");
}
