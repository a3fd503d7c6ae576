// DzEnumProperty: an integer that selects one of a list of item strings.
// The value is the index of the selected item; setting it is refused outside
// the items (getNumItems / getItem, which a subclass may compute).
//
// What still differs from the host: the host's class does not redeclare
// setValue. The stand-in overrides setValue(int) to refuse an index outside the
// items (its own choice) and brings the other setValue overloads back with a
// using-declaration, so the same overloads are visible as in the host. Removing
// and replacing items and the timed string forms are left out. QStringList comes
// in whole here for the item list; the host's header only declares it.
#pragma once

#include "dzintproperty.h"

#include <QtCore/QStringList>

class DZ_EXPORT DzEnumProperty : public DzIntProperty {
    Q_OBJECT
public:
    DzEnumProperty(const QString& name, bool canAnimate, bool isUserProperty);
    ~DzEnumProperty() override;
    using DzIntProperty::setValue;

public slots:
    virtual int getNumItems() const { return m_items.size(); }
    // Empty for an index out of range.
    virtual QString getItem(int index) const;
    // Inserts at index (appends for -1 or past the end); returns the item's index.
    virtual int addItem(const QString& item, int index = -1);
    virtual QString getStringValue() const { return getItem(getValue()); }
    // Selects the first item equal to the text; false (and no change) when none is.
    virtual bool setValueFromString(const QString& val);
    // Index of the first item equal to the text, or -1.
    virtual int findItemString(const QString& val) const;
    // Ignored when the index names no item.
    void setValue(int val) override;

private:
    QStringList m_items;
};
