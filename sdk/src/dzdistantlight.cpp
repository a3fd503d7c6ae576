#include "dzdistantlight.h"

#include "dzcolorproperty.h"
#include "dzfloatproperty.h"

DzDistantLight::DzDistantLight()
    : m_intensity(new DzFloatProperty(QStringLiteral("Intensity"), true, false, 1.0f)),
      m_color(new DzColorProperty(QStringLiteral("Color"), true, false, QColor(255, 255, 255))) {
    m_intensity->setPath(QStringLiteral("Light"));
    m_color->setPath(QStringLiteral("Light"));
    addProperty(m_intensity);
    addProperty(m_color);
}

DzDistantLight::~DzDistantLight() = default;

double DzDistantLight::getIntensity() const {
    return m_intensity->getValue();
}

QColor DzDistantLight::getDiffuseColor() const {
    return m_color->getColorValue();
}
