// DzFloatProperty: an animatable float value.
// - Without keys the property holds one value for all times.
// - setValue(time, v) on an animatable property adds a key at that time (or
//   replaces the key already there); on a property that cannot animate it just
//   sets the value.
// - getValue(time) with keys interpolates between the two keys around the time
//   (linearly, or holding the earlier key's value when that key is CONSTANT_INTERP)
//   and holds the first and last key's value outside the keyed range.
// - The untimed getValue()/setValue(v) work at the scene's current time; while
//   there are no keys, setValue(v) sets the single value and adds no key.
// - The keys and the single value are the property's own (raw) value;
//   getValue passes it through the property's controllers (an ERC link adds
//   its source's share), getRawValue does not. setValue, setKeyValue and
//   getKeyValue work on the raw value: setting a controlled property does not
//   take the controllers' share back out (a choice of the stand-in; the real
//   host leaves that to adjustValue, which the stand-in does not have).
// TCB and Hermite keys are interpolated linearly in this stand-in.
//
// What still differs from the host: key selection, min/max, sensitivity,
// adjustValue, local values, the transform type and setValue with TCB/Hermite
// parameters are left out.
#pragma once

#include "dznumericproperty.h"

#include <vector>

class DZ_EXPORT DzFloatProperty : public DzNumericProperty {
    Q_OBJECT
public:
    enum InterpolationType { LINEAR_INTERP, CONSTANT_INTERP, TCB_INTERP, HERMITE_INTERP };

    DzFloatProperty();
    DzFloatProperty(const QString& name, bool canAnimate, bool isUserProperty, float init = 0.0f);
    ~DzFloatProperty() override;

public slots:
    virtual double getValue() const { return getValue(currentTime()); }
    virtual double getValue(DzTime tm) const { return applyControllers(tm, getRawValue(tm)); }
    virtual double getRawValue() const { return getRawValue(currentTime()); }
    virtual double getRawValue(DzTime tm) const;
    virtual void setValue(float val);
    virtual void setValue(DzTime tm, float val) { setValue(tm, val, LINEAR_INTERP); }
    virtual void setValue(DzTime tm, float val, InterpolationType interp);
    virtual double getDefaultValue() const { return m_default; }
    virtual void setDefaultValue(float val) { m_default = val; }

    int getNumKeys() const override { return int(m_keys.size()); }
    DzTime getKeyTime(int i) const override;
    virtual double getKeyValue(int i) const;
    virtual void setKeyValue(int i, float val);
    DzTimeRange getKeyRange() const override;
    // Keeps the raw value the property had at the scene's current time.
    void deleteAllKeys() override;
    // Deletes keys start..end by index. The other keys stay as they were
    // (times, values and interpolations). Deleting the last key keeps the raw
    // value the property had at the scene's current time, as deleteAllKeys does
    // (a choice of the stand-in). Like the host's class, this one redeclares
    // only the index overload, which hides DzProperty::deleteKeys(const
    // DzTimeRange&): a caller with a time range calls it through a DzProperty.
    int deleteKeys(int start, int end) override;

    double getDoubleValue(DzTime tm) const override { return getValue(tm); }
    void setDoubleValue(DzTime tm, double val) override { setValue(tm, float(val)); }
    double getDoubleDefaultValue() const override { return m_default; }

private:
    struct Key {
        DzTime time;
        float value;
        InterpolationType interp;
    };
    float m_value;
    float m_default;
    std::vector<Key> m_keys; // sorted by time, one key per time
};
