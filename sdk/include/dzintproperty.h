// DzIntProperty: an integer value. The stand-in keeps one value for all times
// (int-based properties take no keys): the timed accessors ignore the time.
// Like the host's, it redeclares deleteKeys(int, int) alone, which hides
// DzProperty::deleteKeys(const DzTimeRange&) for every int-based property
// (bool, enum, colour); call that one through a DzProperty reference.
#pragma once

#include "dznumericproperty.h"

class DZ_EXPORT DzIntProperty : public DzNumericProperty {
    Q_OBJECT
public:
    DzIntProperty(const QString& name, bool canAnimate, bool isUserProperty, int init = 0);
    ~DzIntProperty() override;

    int deleteKeys(int, int) override { return 0; } // no keys to delete

public slots:
    virtual int getValue() const { return m_value; }
    virtual int getValue(DzTime) const { return m_value; }
    virtual void setValue(int val) { m_value = val; }
    virtual void setValue(DzTime, int val) { setValue(val); }
    virtual int getDefaultValue() const { return m_default; }
    virtual void setDefaultValue(int val) { m_default = val; }

    double getDoubleValue(DzTime tm) const override { return getValue(tm); }
    void setDoubleValue(DzTime tm, double val) override { setValue(tm, int(val)); }
    double getDoubleDefaultValue() const override { return m_default; }

private:
    int m_value;
    int m_default;
};
