#include "dzspotlight.h"

#include "dzfloatproperty.h"

DzSpotLight::DzSpotLight()
    : m_spread(new DzFloatProperty(QStringLiteral("Spread Angle"), true, false, 20.0f)) {
    m_spread->setPath(QStringLiteral("Light"));
    addProperty(m_spread);
}

DzSpotLight::~DzSpotLight() = default;
