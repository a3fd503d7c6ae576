// DzNumericProperty: a property with a numeric value that may carry an image map
// (see DzProperty for the queries made before a map is taken).
// A map can be set only while the property is mappable; clearing mappability
// drops the map. getMapValue() is NULL without a map. The texture is not owned
// (the image manager owns textures); a deleted texture reads back as NULL.
//
// Controllers: the value a numeric property reads as is its own value passed
// through its controllers in order (applyControllers). A link whose source is
// the property itself or is driven by it through other links would make a
// circle: insertController refuses it (it is not taken and stays the
// caller's), as the real host refuses circular links.
#pragma once

#include "dzproperty.h"

#include <QtCore/QPointer>

class DzNumericController;
class DzTexture;

class DZ_EXPORT DzNumericProperty : public DzProperty {
    Q_OBJECT
public:
    DzNumericProperty(const QString& name, bool canAnimate, bool isUserProperty);
    ~DzNumericProperty() override;

public slots:
    bool isNumeric() const override { return true; }
    virtual bool isMappable() const { return m_mappable; }
    virtual void setIsMappable(bool onOff);
    virtual bool isMapped() const;
    virtual DzTexture* getMapValue() const;
    // Maps do not animate: the same map at every time.
    virtual DzTexture* getMapValue(DzTime) const { return getMapValue(); }
    // Ignored when the property is not mappable; NULL clears the map.
    virtual void setMap(const DzTexture* img);
    virtual void clearMap();
    // Takes the controller (see DzProperty::insertController) unless it is a
    // circular link.
    virtual void insertController(DzNumericController* controller, int idx = -1);

    double getDoubleValue() const { return getDoubleValue(currentTime()); }
    virtual double getDoubleValue(DzTime tm) const = 0;
    void setDoubleValue(double val) { setDoubleValue(currentTime(), val); }
    virtual void setDoubleValue(DzTime tm, double val) = 0;
    virtual double getDoubleDefaultValue() const = 0;

protected:
    // raw passed through the numeric controllers, in order.
    double applyControllers(DzTime tm, double raw = 0.0, bool local = false) const;

private:
    bool m_mappable = false;
    QPointer<DzTexture> m_map;
};
