#include "dzproperty.h"

#include "dzelement.h"
#include "dzscene.h"

DzProperty::DzProperty() = default;

DzProperty::DzProperty(const QString& name, bool canAnimate, bool isUserProperty)
    : DzBase(nullptr, name), m_canAnimate(canAnimate), m_isUser(isUserProperty) {}

DzProperty::~DzProperty() {
    if (m_owner) {
        m_owner->removeProperty(this);
    }
}

void DzProperty::setPath(const QString& path) {
    m_path = path;
}

void DzProperty::setLabel(const QString& label) {
    m_label = label;
}

QString DzProperty::getLabel() const {
    return m_label.isEmpty() ? getName() : m_label;
}

DzTimeRange DzProperty::getKeyRange() const {
    const int n = getNumKeys();
    if (n <= 0) {
        return DzTimeRange(0, -1);
    }
    return DzTimeRange(getKeyTime(0), getKeyTime(n - 1));
}

DzTime DzProperty::currentTime() {
    return dzScene ? dzScene->getTime() : 0;
}
