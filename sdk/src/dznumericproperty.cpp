#include "dznumericproperty.h"

#include "dzerclink.h"
#include "dztexture.h"

#include <unordered_set>
#include <vector>

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

namespace {

// Whether `property`'s value depends on `target` through ERC links.
bool drivenBy(const DzNumericProperty* property, const DzNumericProperty* target) {
    std::vector<const DzNumericProperty*> pending{property};
    std::unordered_set<const DzNumericProperty*> seen{property};
    while (!pending.empty()) {
        const DzNumericProperty* next = pending.back();
        pending.pop_back();
        if (next == target) {
            return true;
        }
        for (int i = 0; i < next->getNumControllers(); ++i) {
            const auto* link = qobject_cast<const DzERCLink*>(next->getController(i));
            const DzNumericProperty* source = link != nullptr ? link->getProperty() : nullptr;
            if (source != nullptr && seen.insert(source).second) {
                pending.push_back(source);
            }
        }
    }
    return false;
}

} // namespace

void DzNumericProperty::insertController(DzNumericController* controller, int idx) {
    const auto* link = qobject_cast<const DzERCLink*>(controller);
    if (link != nullptr && link->getProperty() != nullptr && drivenBy(link->getProperty(), this)) {
        return;
    }
    DzProperty::insertController(controller, idx);
}

double DzNumericProperty::applyControllers(DzTime tm, double raw, bool local) const {
    double value = raw;
    for (int i = 0; i < getNumControllers(); ++i) {
        if (const auto* numeric = qobject_cast<const DzNumericController*>(getController(i))) {
            value = numeric->apply(value, tm, local);
        }
    }
    return value;
}
