// DzPointLight: a light shining in every direction from its position.
//
// What still differs from the host: only isDirectional is redeclared; the
// display and OpenGL members are left out.
#pragma once

#include "dzdistantlight.h"

class DZ_EXPORT DzPointLight : public DzDistantLight {
    Q_OBJECT
public:
    DzPointLight();
    ~DzPointLight() override;

public slots:
    bool isDirectional() const override { return false; }
};
