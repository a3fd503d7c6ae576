#include "dzelement.h"

#include "dzproperty.h"
#include "dzpropertygroup.h"

#include <algorithm>

DzElement::DzElement(const QString& name)
    : DzBase(nullptr, name), m_groups(new DzPropertyGroupTree(this)) {}

DzElement::~DzElement() {
    for (DzProperty* prop : m_properties) {
        prop->m_owner = nullptr;
        prop->m_group = nullptr;
        delete prop;
    }
    m_properties.clear();
    delete m_groups;
}

DzPropertyListIterator DzElement::propertyListIterator() const {
    DzPropertyList list;
    list.reserve(int(m_properties.size()));
    for (DzProperty* prop : m_properties) {
        list.append(prop);
    }
    return DzPropertyListIterator(list);
}

void DzElement::setName(const QString& name) {
    DzBase::setName(name);
}

DzError DzElement::setLabel(const QString& label) {
    if (label != m_label) {
        m_label = label;
        emit labelChanged(label);
    }
    return DZ_NO_ERROR;
}

QString DzElement::getLabel() const {
    return m_label.isEmpty() ? getName() : m_label;
}

void DzElement::update() {}

DzProperty* DzElement::getProperty(int index) const {
    if (index < 0 || index >= int(m_properties.size())) {
        return nullptr;
    }
    return m_properties[size_t(index)];
}

DzProperty* DzElement::findProperty(const QString& name) const {
    return findProperty(name, true);
}

DzProperty* DzElement::findProperty(const QString& name, bool caseSensitive) const {
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (DzProperty* prop : m_properties) {
        if (prop->getName().compare(name, cs) == 0) {
            return prop;
        }
    }
    return nullptr;
}

DzProperty* DzElement::findPropertyByLabel(const QString& label) const {
    for (DzProperty* prop : m_properties) {
        if (prop->getLabel() == label) {
            return prop;
        }
    }
    return nullptr;
}

DzError DzElement::addProperty(DzProperty* prop) {
    if (!prop) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    if (prop->m_owner) {
        return DZ_ILLEGAL_OPERATION_ERROR;
    }
    prop->m_owner = this;
    m_properties.push_back(prop);
    m_groups->addProperty(prop);
    return DZ_NO_ERROR;
}

DzError DzElement::removeProperty(DzProperty* prop) {
    auto it = std::find(m_properties.begin(), m_properties.end(), prop);
    if (!prop || it == m_properties.end()) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    m_groups->removeProperty(prop);
    m_properties.erase(it);
    prop->m_owner = nullptr;
    return DZ_NO_ERROR;
}

void DzElement::beginEdit() {
    ++m_editDepth;
}

void DzElement::finishEdit() {
    if (m_editDepth > 0) {
        --m_editDepth;
    }
}

void DzElement::cancelEdit() {
    finishEdit();
}
