#include "dzimageproperty.h"

#include "dztexture.h"

DzImageProperty::DzImageProperty(const QString& name, bool canAnimate, bool isUserProperty)
    : DzProperty(name, canAnimate, isUserProperty) {}

DzImageProperty::~DzImageProperty() = default;

DzTexture* DzImageProperty::getValue() const {
    return m_value.data();
}

bool DzImageProperty::setValue(const DzTexture* img) {
    m_value = const_cast<DzTexture*>(img);
    return true;
}
