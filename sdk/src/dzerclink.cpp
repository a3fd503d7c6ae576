#include "dzerclink.h"

#include "dznumericproperty.h"

DzERCLink::DzERCLink(DzNumericProperty* property, double scalar, double addend)
    : DzNumericController(Additive), m_property(property), m_scalar(scalar), m_addend(addend) {}

DzERCLink::~DzERCLink() = default;

QString DzERCLink::description() const {
    const DzNumericProperty* source = m_property.data();
    return QStringLiteral("Delta add: ") + (source != nullptr ? source->getLabel() : QString()) +
           QStringLiteral(" x ") + QString::number(m_scalar);
}

double DzERCLink::share(DzTime tm) const {
    const DzNumericProperty* source = m_property.data();
    return source != nullptr ? m_scalar * source->getDoubleValue(tm) + m_addend : 0.0;
}

double DzERCLink::apply(double val, DzTime tm, bool) const {
    return val + share(tm);
}

double DzERCLink::applyInverse(double val, DzTime tm, bool) const {
    return val - share(tm);
}
