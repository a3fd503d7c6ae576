#include "dzbrickmaterial.h"

DzBrickMaterial::DzBrickMaterial(const QString& shaderName)
    : DzPropertyDrivenMaterial(shaderName) {}

DzBrickMaterial::~DzBrickMaterial() = default;
