#include "dzshadermaterial.h"

DzShaderMaterial::DzShaderMaterial(const QString& shaderName)
    : DzPropertyDrivenMaterial(shaderName) {}

DzShaderMaterial::~DzShaderMaterial() = default;
