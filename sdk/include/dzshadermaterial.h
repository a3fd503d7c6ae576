// DzShaderMaterial: a scripted shader material, driven entirely by named
// properties (see DzPropertyDrivenMaterial for the property set).
// The stand-in derives it from DzMaterial directly, beside DzBrickMaterial and
// DzUberIrayMaterial, so that inherits() tells the three apart.
#pragma once

#include "dzpropertydrivenmaterial.h"

class DZ_EXPORT DzShaderMaterial : public DzPropertyDrivenMaterial {
    Q_OBJECT
public:
    // shaderName is what getMaterialName answers.
    explicit DzShaderMaterial(const QString& shaderName = QStringLiteral("Shader"));
    ~DzShaderMaterial() override;
};
