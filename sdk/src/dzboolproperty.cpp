#include "dzboolproperty.h"

DzBoolProperty::DzBoolProperty(const QString& name, bool canAnimate, bool isUserProperty, bool init)
    : DzIntProperty(name, canAnimate, isUserProperty, init ? 1 : 0) {}

DzBoolProperty::~DzBoolProperty() = default;

void DzBoolProperty::setValue(int val) {
    DzIntProperty::setValue(val != 0 ? 1 : 0);
}
