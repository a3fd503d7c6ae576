#include "dzpropertygroup.h"

#include "dzelement.h"
#include "dzproperty.h"

#include <QtCore/QStringList>

#include <algorithm>

namespace {

DzPropertyGroup* findIn(const std::vector<DzPropertyGroup*>& groups, const QString& name) {
    for (DzPropertyGroup* g : groups) {
        if (g->getName() == name) {
            return g;
        }
    }
    return nullptr;
}

void collectPaths(const DzPropertyGroup* g, QStringList& out) {
    for (; g; g = g->getNextSibling()) {
        out.append(g->getPath());
        collectPaths(g->getFirstChild(), out);
    }
}

} // namespace

DzPropertyGroup::DzPropertyGroup(const QString& name, DzPropertyGroupTree* tree,
                                 DzPropertyGroup* parent)
    : DzBase(nullptr, name), m_tree(tree), m_parent(parent) {}

DzPropertyGroup::~DzPropertyGroup() {
    for (DzPropertyGroup* child : m_children) {
        delete child;
    }
}

DzPropertyListIterator DzPropertyGroup::getProperties() const {
    DzPropertyList list;
    for (DzProperty* p : m_properties) {
        list.append(p);
    }
    return DzPropertyListIterator(list);
}

DzProperty* DzPropertyGroup::getProperty(int index) const {
    if (index < 0 || index >= int(m_properties.size())) {
        return nullptr;
    }
    return m_properties[size_t(index)];
}

DzPropertyGroup* DzPropertyGroup::getFirstChild() const {
    return m_children.empty() ? nullptr : m_children.front();
}

DzPropertyGroup* DzPropertyGroup::findChild(const QString& name) const {
    return findIn(m_children, name);
}

QString DzPropertyGroup::getPath() const {
    return m_parent ? m_parent->getPath() + QLatin1Char('/') + getName() : getName();
}

DzPropertyGroupTree::DzPropertyGroupTree(DzElement* owner) : DzBase(), m_owner(owner) {}

DzPropertyGroupTree::~DzPropertyGroupTree() {
    for (DzPropertyGroup* g : m_top) {
        delete g;
    }
}

DzPropertyGroup* DzPropertyGroupTree::getFirstChild() const {
    return m_top.empty() ? nullptr : m_top.front();
}

DzPropertyGroup* DzPropertyGroupTree::findChild(const QString& name) const {
    return findIn(m_top, name);
}

QStringList DzPropertyGroupTree::getAllPaths() const {
    QStringList out;
    collectPaths(getFirstChild(), out);
    return out;
}

DzPropertyGroup* DzPropertyGroupTree::findOrCreate(const QString& path) {
    QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        parts.append(QStringLiteral("General"));
    }
    DzPropertyGroup* parent = nullptr;
    for (const QString& part : parts) {
        std::vector<DzPropertyGroup*>& level = parent ? parent->m_children : m_top;
        DzPropertyGroup* g = findIn(level, part);
        if (!g) {
            g = new DzPropertyGroup(part, this, parent);
            if (!level.empty()) {
                level.back()->m_nextSibling = g;
            }
            level.push_back(g);
        }
        parent = g;
    }
    return parent;
}

void DzPropertyGroupTree::addProperty(DzProperty* prop) {
    DzPropertyGroup* g = findOrCreate(prop->getPath());
    g->m_properties.push_back(prop);
    prop->m_group = g;
}

void DzPropertyGroupTree::removeProperty(DzProperty* prop) {
    DzPropertyGroup* g = prop->m_group;
    if (!g) {
        return;
    }
    auto& props = g->m_properties;
    props.erase(std::remove(props.begin(), props.end(), prop), props.end());
    prop->m_group = nullptr;
}
