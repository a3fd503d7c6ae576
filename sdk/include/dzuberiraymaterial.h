// DzUberIrayMaterial: the physically based "Iray Uber" material, driven entirely
// by named properties (see DzPropertyDrivenMaterial for the property set).
// The stand-in derives it from DzMaterial directly, beside DzBrickMaterial and
// DzShaderMaterial, so that inherits() tells the three apart.
//
// The host SDK 4.5 headers have no header for this class (it comes with later
// hosts), so this declaration is not checked against the host's. The plug-in
// names the class only as a string, through inherits().
#pragma once

#include "dzpropertydrivenmaterial.h"

class DZ_EXPORT DzUberIrayMaterial : public DzPropertyDrivenMaterial {
    Q_OBJECT
public:
    // getMaterialName answers "Iray Uber".
    DzUberIrayMaterial();
    ~DzUberIrayMaterial() override;
};
