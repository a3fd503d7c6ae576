// DzProperty: a named, labelled value of an element (not itself an element).
// Abstract: the concrete classes hold the value. The label falls back to the name.
// Properties without keys report no keys; DzFloatProperty overrides the key calls.
//
// The two yes/no queries a plug-in makes before it uses a property it found by
// walking an element's properties or property groups:
//   1. isNumeric(), common to every use: only a DzNumericProperty has a value to
//      set and can carry a map;
//   2. for a texture, DzNumericProperty::isMapped() (a map is attached; the map
//      is getMapValue()); for a pose value to be changed (a bone's rotation set
//      to zero), isLocked() answering false.
// The stand-in answers them as the host does: every DzNumericProperty (float,
// int, bool, enum, colour) is numeric and a DzImageProperty is not; a property is
// mapped when it is mappable and has a texture; every property starts unlocked
// (a node's transform controls too) until lock(true).
//
// Controllers (DzController) change the value a property reads as; the
// property's own value is what was set. Only numeric properties take them
// (DzNumericProperty::insertController). The property owns its controllers.
#pragma once

#include "dzbase.h"
#include "dztimerange.h"

#include <vector>

class DzController;
class DzElement;
class DzPropertyGroup;

class DZ_EXPORT DzProperty : public DzBase {
    Q_OBJECT
public:
    DzProperty();
    DzProperty(const QString& name, bool canAnimate, bool isUserProperty);
    ~DzProperty() override;

    // Where DzElement::addProperty files the property, e.g. "Transforms/Rotation";
    // set it before the property is added.
    void setPath(const QString& path);

public slots:
    void setLabel(const QString& label);
    QString getLabel() const;
    // Should not be shown in the interface.
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden) { m_hidden = hidden; }
    // Added by the user (and so deletable).
    bool isUserProperty() const { return m_isUser; }
    void setIsUserProperty(bool isUser) { m_isUser = isUser; }
    virtual bool canAnimate() const { return m_canAnimate; }
    virtual bool isLocked() const { return m_locked; }
    virtual void lock(bool onOff) { m_locked = onOff; }
    virtual bool isNumeric() const = 0;

    DzElement* getOwner() const { return m_owner; }
    DzPropertyGroup* getGroup() const { return m_group; }
    QString getPath() const { return m_path; }

    virtual bool hasKeys() const { return getNumKeys() > 0; }
    virtual int getNumKeys() const { return 0; }
    // The time of key i; 0 when out of range.
    virtual DzTime getKeyTime(int) const { return 0; }
    // From the first to the last key; an empty range (end before start) without keys.
    virtual DzTimeRange getKeyRange() const;
    virtual void deleteAllKeys() {}
    // Deletes the keys whose times lie in the range (both ends included) and
    // returns how many were deleted: the keys' indices are looked up by time
    // and handed to deleteKeys(int, int). 0 for a property without keys.
    virtual int deleteKeys(const DzTimeRange& interval);
    // Deletes the keys from index `start` to index `end` (both included,
    // clamped to the keys there are) and returns how many were deleted; 0 for
    // a property without keys. The host names the pair without saying whether
    // they are indices or times; the stand-in takes indices, which is what the
    // time-range overload needs. A subclass that redeclares only this overload
    // hides the time-range one, as the host's DzFloatProperty does: call that
    // one through a DzProperty.
    virtual int deleteKeys(int start, int end);

    // In the order they are applied.
    virtual int getNumControllers() const { return int(m_controllers.size()); }
    // NULL when out of range.
    virtual DzController* getController(int idx) const;
    virtual bool hasControllers() const { return !m_controllers.empty(); }

protected:
    // The scene's current time, 0 without a scene.
    static DzTime currentTime();
    // Takes the controller (not NULL, not yet owned by a property) at idx, or
    // last when idx is out of range.
    void insertController(DzController* controller, int idx = -1);

private:
    friend class DzController;
    friend class DzElement;
    friend class DzPropertyGroupTree;

    // A controller being deleted leaves the list.
    void forgetController(DzController* controller);

    std::vector<DzController*> m_controllers;

    QString m_label;
    QString m_path;
    bool m_canAnimate = false;
    bool m_isUser = false;
    bool m_hidden = false;
    bool m_locked = false;
    DzElement* m_owner = nullptr;
    DzPropertyGroup* m_group = nullptr;
};
