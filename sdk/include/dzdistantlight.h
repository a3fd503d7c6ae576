// DzDistantLight: a directional light with properties "Intensity" (float,
// default 1, as a fraction: 1 is 100 %) and "Color" (colour, default white).
// Spot and point lights derive from it.
//
// What still differs from the host: the illumination and shadow controls, isOn
// and the OpenGL and render members are left out; the host's header does not
// declare DzFloatProperty (it comes through its other headers).
#pragma once

#include "dzlight.h"

class DzColorProperty;
class DzFloatProperty;

class DZ_EXPORT DzDistantLight : public DzLight {
    Q_OBJECT
public:
    DzDistantLight();
    ~DzDistantLight() override;

public slots:
    double getIntensity() const;
    DzFloatProperty* getIntensityControl() const { return m_intensity; }
    QColor getDiffuseColor() const override;
    DzColorProperty* getDiffuseColorControl() const { return m_color; }

private:
    DzFloatProperty* m_intensity;
    DzColorProperty* m_color;
};
