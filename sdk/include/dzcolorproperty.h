// DzColorProperty: a colour held in the integer value as 0xAARRGGBB (QRgb).
//
// What still differs from the host: only the constructors and the colour
// getters and setters are declared (no raw or key colour values, no default
// constructor, aliasing or clamping); the untimed and timed integer overloads
// of DzIntProperty stay visible, as they do in the host. As in the host, QColor
// is only declared here: a caller that makes or reads a colour includes
// <QtGui/QColor>.
#pragma once

#include "dzintproperty.h"

class QColor;

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
