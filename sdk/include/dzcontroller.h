// DzController: something that changes the value of the property it belongs
// to (its owner) whenever the value is read; the property's own (raw) value
// stays as it was set. A controller joins a property through
// DzNumericProperty::insertController, which hands it to the property: the
// property deletes its controllers with itself, and a controller deleted
// first leaves its property's list.
#pragma once

#include "dzbase.h"

class DzProperty;

class DZ_EXPORT DzController : public DzBase {
    Q_OBJECT
    friend class DzProperty;

public:
    enum ControllerEffect { None = 0, Additive, Replace };

    explicit DzController(ControllerEffect effect);
    ~DzController() override;

    virtual QString description() const = 0;
    ControllerEffect effect() const { return m_effect; }
    int effectAsInt() const { return int(m_effect); }

public slots:
    // The property the controller belongs to; NULL before it is inserted.
    DzProperty* getOwner() const { return m_owner; }

private:
    ControllerEffect m_effect;
    DzProperty* m_owner = nullptr;
};
