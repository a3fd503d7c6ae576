// DzPropertyGroup and DzPropertyGroupTree: the tree of named groups an element
// files its properties in (for a node: "Transforms/Translation",
// "Transforms/Rotation", ...). Only DzElement creates them.
// Walk from the tree's first child through getFirstChild / getNextSibling.
//
// What still differs from the host: a group's constructor takes its name and
// parent here; as in the host, constructors and destructors are private (only the
// element and the tree make and delete groups). findSibling, the default group and
// the private-property tree are left out.
#pragma once

#include "dzbase.h"
#include "dztypes.h"

#include <vector>

class DzElement;
class DzPropertyGroupTree;

class DZ_EXPORT DzPropertyGroup : public DzBase {
    Q_OBJECT
public:
    DzPropertyListIterator getProperties() const;

public slots:
    int getNumProperties() const { return int(m_properties.size()); }
    DzProperty* getProperty(int index) const;
    DzPropertyGroup* getFirstChild() const;
    DzPropertyGroup* getNextSibling() const { return m_nextSibling; }
    DzPropertyGroup* getParent() const { return m_parent; }
    // A direct child with this name, or NULL.
    DzPropertyGroup* findChild(const QString& name) const;
    // Group names from the top down, joined with "/".
    QString getPath() const;
    DzPropertyGroupTree* getTree() const { return m_tree; }

private:
    friend class DzPropertyGroupTree;
    friend class DzElement;
    DzPropertyGroup(const QString& name, DzPropertyGroupTree* tree, DzPropertyGroup* parent);
    ~DzPropertyGroup() override;

    DzPropertyGroupTree* m_tree;
    DzPropertyGroup* m_parent;
    DzPropertyGroup* m_nextSibling = nullptr;
    std::vector<DzPropertyGroup*> m_children;
    std::vector<DzProperty*> m_properties;
};

class DZ_EXPORT DzPropertyGroupTree : public DzBase {
    Q_OBJECT
public slots:
    DzPropertyGroup* getFirstChild() const;
    // A top-level group with this name, or NULL.
    DzPropertyGroup* findChild(const QString& name) const;
    DzElement* getOwner() const { return m_owner; }
    // Every group's path, depth first.
    QStringList getAllPaths() const;

private:
    friend class DzElement;
    explicit DzPropertyGroupTree(DzElement* owner);
    ~DzPropertyGroupTree() override;

    // The group at this "/"-separated path, created with its ancestors when missing.
    DzPropertyGroup* findOrCreate(const QString& path);
    void addProperty(DzProperty* prop);
    void removeProperty(DzProperty* prop);

    DzElement* m_owner;
    std::vector<DzPropertyGroup*> m_top;
};
