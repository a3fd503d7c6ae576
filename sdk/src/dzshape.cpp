#include "dzshape.h"

#include "dzmaterial.h"
#include "dznode.h"
#include "dzobject.h"

DzShape::DzShape() = default;

DzShape::~DzShape() {
    std::vector<DzMaterial*> materials;
    materials.swap(m_materials);
    m_materialIndex.clear();
    for (DzMaterial* m : materials) {
        m->detachShape(this);
        m->deref();
    }
}

DzMaterial* DzShape::getMaterial(int index) const {
    return index >= 0 && index < int(m_materials.size()) ? m_materials[size_t(index)] : nullptr;
}

DzError DzShape::addMaterial(DzMaterial* mat) {
    if (!mat) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    if (m_materialIndex.contains(mat)) {
        return DZ_ILLEGAL_OPERATION_ERROR;
    }
    mat->ref();
    mat->attachShape(this);
    m_materialIndex.insert(mat, int(m_materials.size()));
    m_materials.push_back(mat);
    return DZ_NO_ERROR;
}

int DzShape::findMaterialIndex(const QString& name) const {
    for (size_t i = 0; i < m_materials.size(); ++i) {
        if (m_materials[i]->getName() == name) {
            return int(i);
        }
    }
    return -1;
}

int DzShape::findMaterialIndex(const DzMaterial* mat) const {
    return m_materialIndex.value(mat, -1);
}

DzMaterial* DzShape::findMaterial(const QString& name) const {
    return getMaterial(findMaterialIndex(name));
}

DzNode* DzShape::getNode() {
    auto* obj = qobject_cast<DzObject*>(parent());
    return obj ? qobject_cast<DzNode*>(obj->parent()) : nullptr;
}
