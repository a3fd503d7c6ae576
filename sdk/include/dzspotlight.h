// DzSpotLight: a cone light with property "Spread Angle" (float, degrees,
// the full outer cone angle, default 20).
//
// What still differs from the host: of the spot's own members only the spread
// angle control is declared; the opacity, visibility and OpenGL members are left
// out.
#pragma once

#include "dzdistantlight.h"

class DZ_EXPORT DzSpotLight : public DzDistantLight {
    Q_OBJECT
public:
    DzSpotLight();
    ~DzSpotLight() override;

public slots:
    DzFloatProperty* getSpreadAngleControl() const { return m_spread; }
    bool isDirectional() const override { return false; }

private:
    DzFloatProperty* m_spread;
};
