#include "dzlight.h"

DzLight::DzLight() : DzCamera(GENERAL_CAMERA, false) {}

DzLight::~DzLight() = default;

DzVec3 DzLight::getWSDirection() const {
    DzVec3 dir = getWSTransform().multVec(DzVec3(0.0f, 0.0f, -1.0f));
    dir.normalize();
    return dir;
}
