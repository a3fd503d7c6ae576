// DzElement: a named, labelled host object that carries properties organised in a
// property-group tree. The element owns its properties and its group tree.
// The label falls back to the name while no label has been set.
#pragma once

#include "dzbase.h"
#include "dztypes.h"

#include <vector>

class DzProperty;
class DzPropertyGroupTree;

class DZ_EXPORT DzElement : public DzBase {
    Q_OBJECT
public:
    explicit DzElement(const QString& name = QString());
    ~DzElement() override;

    DzPropertyListIterator propertyListIterator() const;

public slots:
    void setName(const QString& name) override;
    virtual DzError setLabel(const QString& label);
    QString getLabel() const;

    // Refreshes derived data. The stand-in computes everything on demand, so an
    // element has nothing to refresh; subclasses with cached data override it.
    virtual void update();

    int getNumProperties() const { return int(m_properties.size()); }
    // NULL when the index is out of range.
    DzProperty* getProperty(int index) const;
    // The first property with this name (case-sensitive), or NULL.
    DzProperty* findProperty(const QString& name) const;
    DzProperty* findProperty(const QString& name, bool caseSensitive) const;
    DzProperty* findPropertyByLabel(const QString& label) const;
    // Takes ownership and files the property in the group tree under its path
    // (DzProperty::getPath, "General" when empty). Fails with an illegal-argument
    // error for NULL and an illegal-operation error when the property already
    // belongs to an element.
    DzError addProperty(DzProperty* prop);
    // Gives the property back to the caller.
    DzError removeProperty(DzProperty* prop);
    DzPropertyGroupTree* getPropertyGroups() const { return m_groups; }

    // Edit brackets; nested brackets count, inEdit() is true inside any.
    virtual void beginEdit();
    virtual void finishEdit();
    virtual void cancelEdit();
    bool inEdit() const { return m_editDepth > 0; }

signals:
    void labelChanged(const QString& label);

private:
    QString m_label;
    std::vector<DzProperty*> m_properties;
    DzPropertyGroupTree* m_groups;
    int m_editDepth = 0;
};
