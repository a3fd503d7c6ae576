#include "dzfloatproperty.h"

#include <algorithm>

namespace {

struct KeyTimeLess {
    template <class Key> bool operator()(const Key& k, DzTime t) const { return k.time < t; }
    template <class Key> bool operator()(DzTime t, const Key& k) const { return t < k.time; }
};

} // namespace

DzFloatProperty::DzFloatProperty() : DzFloatProperty(QString(), true, false, 0.0f) {}

DzFloatProperty::DzFloatProperty(const QString& name, bool canAnimate, bool isUserProperty,
                                 float init)
    : DzNumericProperty(name, canAnimate, isUserProperty), m_value(init), m_default(init) {}

DzFloatProperty::~DzFloatProperty() = default;

double DzFloatProperty::getRawValue(DzTime tm) const {
    if (m_keys.empty()) {
        return m_value;
    }
    // The first key after tm; the one before it is at or before tm.
    auto next = std::upper_bound(m_keys.begin(), m_keys.end(), tm, KeyTimeLess());
    if (next == m_keys.begin()) {
        return m_keys.front().value;
    }
    if (next == m_keys.end()) {
        return m_keys.back().value;
    }
    const Key& a = *(next - 1);
    const Key& b = *next;
    if (a.time == tm || a.interp == CONSTANT_INTERP) {
        return a.value;
    }
    const double f = double(tm - a.time) / double(b.time - a.time);
    return a.value + (double(b.value) - double(a.value)) * f;
}

void DzFloatProperty::setValue(float val) {
    if (m_keys.empty()) {
        m_value = val;
        return;
    }
    setValue(currentTime(), val, LINEAR_INTERP);
}

void DzFloatProperty::setValue(DzTime tm, float val, InterpolationType interp) {
    m_value = val;
    if (!canAnimate()) {
        return;
    }
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(), tm, KeyTimeLess());
    if (it != m_keys.end() && it->time == tm) {
        it->value = val;
        it->interp = interp;
        return;
    }
    m_keys.insert(it, Key{tm, val, interp});
}

DzTime DzFloatProperty::getKeyTime(int i) const {
    return i >= 0 && i < int(m_keys.size()) ? m_keys[size_t(i)].time : 0;
}

double DzFloatProperty::getKeyValue(int i) const {
    return i >= 0 && i < int(m_keys.size()) ? m_keys[size_t(i)].value : 0.0;
}

void DzFloatProperty::setKeyValue(int i, float val) {
    if (i >= 0 && i < int(m_keys.size())) {
        m_keys[size_t(i)].value = val;
    }
}

DzTimeRange DzFloatProperty::getKeyRange() const {
    if (m_keys.empty()) {
        return DzTimeRange(0, -1);
    }
    return DzTimeRange(m_keys.front().time, m_keys.back().time);
}

void DzFloatProperty::deleteAllKeys() {
    if (m_keys.empty()) {
        return;
    }
    m_value = float(getRawValue(currentTime()));
    m_keys.clear();
}

int DzFloatProperty::deleteKeys(int start, int end) {
    const int count = int(m_keys.size());
    start = std::max(start, 0);
    end = std::min(end, count - 1);
    if (start > end) {
        return 0;
    }
    const float valueNow = float(getRawValue(currentTime()));
    m_keys.erase(m_keys.begin() + start, m_keys.begin() + end + 1);
    if (m_keys.empty()) {
        m_value = valueNow;
    }
    return end - start + 1;
}
