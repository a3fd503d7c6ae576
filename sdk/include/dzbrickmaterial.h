// DzBrickMaterial: a shader material built from shader bricks, driven entirely
// by named properties (see DzPropertyDrivenMaterial for the property set).
#pragma once

#include "dzpropertydrivenmaterial.h"

class DZ_EXPORT DzBrickMaterial : public DzPropertyDrivenMaterial {
    Q_OBJECT
public:
    // shaderName is what getMaterialName answers.
    explicit DzBrickMaterial(const QString& shaderName = QStringLiteral("Iray Uber"));
    ~DzBrickMaterial() override;
};
