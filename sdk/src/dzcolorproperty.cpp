#include "dzcolorproperty.h"

#include <QtGui/QColor>

DzColorProperty::DzColorProperty(const QString& name, bool canAnimate, bool isUserProperty)
    : DzColorProperty(name, canAnimate, isUserProperty, QColor(255, 255, 255)) {}

DzColorProperty::DzColorProperty(const QString& name, bool canAnimate, bool isUserProperty,
                                 const QColor& init)
    : DzIntProperty(name, canAnimate, isUserProperty, int(init.rgba())) {}

DzColorProperty::~DzColorProperty() = default;

void DzColorProperty::setColorValue(const QColor& val) {
    setValue(int(val.rgba()));
}

void DzColorProperty::setColorValue(DzTime tm, const QColor& val) {
    setValue(tm, int(val.rgba()));
}

QColor DzColorProperty::getColorValue() const {
    return QColor::fromRgba(QRgb(getValue()));
}

QColor DzColorProperty::getColorValue(DzTime tm) const {
    return QColor::fromRgba(QRgb(getValue(tm)));
}

QColor DzColorProperty::getDefaultColorValue() const {
    return QColor::fromRgba(QRgb(getDefaultValue()));
}

void DzColorProperty::setDefaultColorValue(const QColor& val) {
    setDefaultValue(int(val.rgba()));
}

// The meta-object code is compiled here, where the Qt value types the slots
// pass are complete (the header only declares them, as the host's does).
#include "moc_dzcolorproperty.cpp"
