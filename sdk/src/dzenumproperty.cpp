#include "dzenumproperty.h"

DzEnumProperty::DzEnumProperty(const QString& name, bool canAnimate, bool isUserProperty)
    : DzIntProperty(name, canAnimate, isUserProperty, 0) {}

DzEnumProperty::~DzEnumProperty() = default;

QString DzEnumProperty::getItem(int index) const {
    return index >= 0 && index < m_items.size() ? m_items.at(index) : QString();
}

int DzEnumProperty::addItem(const QString& item, int index) {
    if (index < 0 || index > m_items.size()) {
        index = m_items.size();
    }
    m_items.insert(index, item);
    // Keep the same item selected when one is inserted before it.
    if (m_items.size() > 1 && index <= getValue()) {
        DzIntProperty::setValue(getValue() + 1);
    }
    return index;
}

bool DzEnumProperty::setValueFromString(const QString& val) {
    const int index = findItemString(val);
    if (index < 0) {
        return false;
    }
    setValue(index);
    return true;
}

int DzEnumProperty::findItemString(const QString& val) const {
    const int n = getNumItems();
    for (int i = 0; i < n; ++i) {
        if (getItem(i) == val) {
            return i;
        }
    }
    return -1;
}

void DzEnumProperty::setValue(int val) {
    if (val >= 0 && val < getNumItems()) {
        DzIntProperty::setValue(val);
    }
}
