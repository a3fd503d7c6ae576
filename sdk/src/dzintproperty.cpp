#include "dzintproperty.h"

DzIntProperty::DzIntProperty(const QString& name, bool canAnimate, bool isUserProperty, int init)
    : DzNumericProperty(name, canAnimate, isUserProperty), m_value(init), m_default(init) {}

DzIntProperty::~DzIntProperty() = default;
