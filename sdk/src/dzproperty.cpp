#include "dzproperty.h"

#include "dzcontroller.h"
#include "dzelement.h"
#include "dzscene.h"

#include <algorithm>

DzProperty::DzProperty() = default;

DzProperty::DzProperty(const QString& name, bool canAnimate, bool isUserProperty)
    : DzBase(nullptr, name), m_canAnimate(canAnimate), m_isUser(isUserProperty) {}

DzProperty::~DzProperty() {
    for (DzController* controller : m_controllers) {
        controller->m_owner = nullptr;
        delete controller;
    }
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

namespace {

// The first key index in [0, count) whose time is not before `t` (`after`
// false) or after `t` (`after` true); keys are in time order.
int firstKeyFrom(const DzProperty& property, int count, DzTime t, bool after) {
    int low = 0;
    int high = count;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        const DzTime time = property.getKeyTime(mid);
        if (time < t || (after && time == t)) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low;
}

} // namespace

int DzProperty::deleteKeys(const DzTimeRange& interval) {
    const int count = getNumKeys();
    if (count <= 0 || interval.isEmpty()) {
        return 0;
    }
    const int first = firstKeyFrom(*this, count, interval.getStart(), false);
    const int end = firstKeyFrom(*this, count, interval.getEnd(), true);
    return first < end ? deleteKeys(first, end - 1) : 0;
}

int DzProperty::deleteKeys(int, int) {
    return 0;
}

DzTime DzProperty::currentTime() {
    return dzScene ? dzScene->getTime() : 0;
}

DzController* DzProperty::getController(int idx) const {
    return idx >= 0 && idx < int(m_controllers.size()) ? m_controllers[size_t(idx)] : nullptr;
}

void DzProperty::insertController(DzController* controller, int idx) {
    if (controller == nullptr || controller->m_owner != nullptr) {
        return;
    }
    controller->m_owner = this;
    const auto at = idx >= 0 && idx < int(m_controllers.size()) ? m_controllers.begin() + idx
                                                                : m_controllers.end();
    m_controllers.insert(at, controller);
}

void DzProperty::forgetController(DzController* controller) {
    m_controllers.erase(std::remove(m_controllers.begin(), m_controllers.end(), controller),
                        m_controllers.end());
}
