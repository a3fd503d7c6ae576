// DzShaderMaterial: a scripted shader material, driven entirely by named
// properties (see DzPropertyDrivenMaterial for the property set).
// The stand-in derives it from DzMaterial directly, beside DzBrickMaterial and
// DzUberIrayMaterial, so that inherits() tells the three apart.
//
// The host SDK 4.5 headers have no header for this class (it comes with later
// hosts), so this declaration is not checked against the host's. The plug-in
// names the class only as a string, through inherits().
#pragma once

#include "dzpropertydrivenmaterial.h"

class DZ_EXPORT DzShaderMaterial : public DzPropertyDrivenMaterial {
    Q_OBJECT
public:
    // shaderName is what getMaterialName answers.
    explicit DzShaderMaterial(const QString& shaderName = QStringLiteral("Shader"));
    ~DzShaderMaterial() override;
};
