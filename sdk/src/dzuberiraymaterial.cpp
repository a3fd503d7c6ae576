#include "dzuberiraymaterial.h"

DzUberIrayMaterial::DzUberIrayMaterial() : DzPropertyDrivenMaterial(QStringLiteral("Iray Uber")) {}

DzUberIrayMaterial::~DzUberIrayMaterial() = default;
