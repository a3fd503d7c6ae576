// DzBoolProperty: a yes/no value held as 0 or 1 in the integer value.
// As in the host, it redeclares only the timed getValue / setValue, which hides
// the untimed getValue() and setValue(int) of DzIntProperty for calls through a
// DzBoolProperty: use getBoolValue / setBoolValue (or go through DzIntProperty).
//
// What still differs from the host: no default constructor and no key, raw,
// alias or clipboard members. The timed getValue / setValue are slots here (plain
// virtuals in the host); the untimed setValue(int) is a private override here and
// hidden by name in the host, so a call through a DzBoolProperty fails in both.
#pragma once

#include "dzintproperty.h"

class DZ_EXPORT DzBoolProperty : public DzIntProperty {
    Q_OBJECT
public:
    DzBoolProperty(const QString& name, bool canAnimate, bool isUserProperty, bool init = true);
    ~DzBoolProperty() override;

public slots:
    virtual bool getBoolValue() const { return DzIntProperty::getValue() != 0; }
    virtual bool getBoolValue(DzTime tm) const { return getValue(tm) != 0; }
    virtual void setBoolValue(bool val) { setValue(val ? 1 : 0); }
    virtual void setBoolValue(DzTime tm, bool val) { setValue(tm, val ? 1 : 0); }
    virtual bool getDefaultBoolValue() const { return getDefaultValue() != 0; }
    virtual void setDefaultBoolValue(bool val) { setDefaultValue(val ? 1 : 0); }
    int getValue(DzTime tm) const override { return DzIntProperty::getValue(tm); }
    // Any non-zero integer is stored as 1.
    void setValue(DzTime tm, int val) override { DzIntProperty::setValue(tm, val != 0 ? 1 : 0); }

private:
    // Reached through DzIntProperty; any non-zero integer is stored as 1.
    void setValue(int val) override;
};
