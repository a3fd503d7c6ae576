// DzColorProperty: a colour held in the integer value as 0xAARRGGBB (QRgb).
#pragma once

#include "dzintproperty.h"

#include <QtGui/QColor>

class DZ_EXPORT DzColorProperty : public DzIntProperty {
    Q_OBJECT
public:
    DzColorProperty(const QString& name, bool canAnimate, bool isUserProperty);
    DzColorProperty(const QString& name, bool canAnimate, bool isUserProperty, const QColor& init);
    ~DzColorProperty() override;

public slots:
    virtual void setColorValue(const QColor& val);
    virtual void setColorValue(DzTime tm, const QColor& val);
    virtual QColor getColorValue() const;
    virtual QColor getColorValue(DzTime tm) const;
    virtual QColor getDefaultColorValue() const;
    virtual void setDefaultColorValue(const QColor& val);
};
