#include "dznumericproperty.h"

#include "dztexture.h"

DzNumericProperty::DzNumericProperty(const QString& name, bool canAnimate, bool isUserProperty)
    : DzProperty(name, canAnimate, isUserProperty) {}

DzNumericProperty::~DzNumericProperty() = default;

void DzNumericProperty::setIsMappable(bool onOff) {
    m_mappable = onOff;
    if (!onOff) {
        m_map.clear();
    }
}

bool DzNumericProperty::isMapped() const {
    return m_mappable && !m_map.isNull();
}

DzTexture* DzNumericProperty::getMapValue() const {
    return m_mappable ? m_map.data() : nullptr;
}

void DzNumericProperty::setMap(const DzTexture* img) {
    if (m_mappable) {
        m_map = const_cast<DzTexture*>(img);
    }
}

void DzNumericProperty::clearMap() {
    m_map.clear();
}
