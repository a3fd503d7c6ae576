#include "dzpointlight.h"

DzPointLight::DzPointLight() = default;

DzPointLight::~DzPointLight() = default;
