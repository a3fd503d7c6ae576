// DzUberIrayMaterial: the physically based "Iray Uber" material, driven entirely
// by named properties (see DzPropertyDrivenMaterial for the property set).
// The stand-in derives it from DzMaterial directly, beside DzBrickMaterial and
// DzShaderMaterial, so that inherits() tells the three apart.
#pragma once

#include "dzpropertydrivenmaterial.h"

class DZ_EXPORT DzUberIrayMaterial : public DzPropertyDrivenMaterial {
    Q_OBJECT
public:
    // getMaterialName answers "Iray Uber".
    DzUberIrayMaterial();
    ~DzUberIrayMaterial() override;
};
