// DzSpotLight: a cone light with property "Spread Angle" (float, degrees,
// the full outer cone angle, default 20).
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
