#include "dzobject.h"

#include "dzenumproperty.h"
#include "dzfacetmesh.h"
#include "dzmaterial.h"
#include "dzmodifier.h"
#include "dznode.h"
#include "dzshape.h"
#include "dzvertexmap.h"

#include <algorithm>

namespace {

template <class T> size_t insertionPoint(const std::vector<T*>& list, int index) {
    return index < 0 || size_t(index) > list.size() ? list.size() : size_t(index);
}

} // namespace

DzObject::DzObject() = default;

DzObject::~DzObject() {
    for (DzShape* shape : m_shapes) {
        delete shape;
    }
    for (DzModifier* mod : m_modifiers) {
        if (mod->parent() == this) {
            delete mod;
        }
    }
    delete m_cache;
}

DzModifierIterator DzObject::modifierIterator() const {
    QList<DzModifier*> list;
    for (DzModifier* m : m_modifiers) {
        list.append(m);
    }
    return DzModifierIterator(list);
}

void DzObject::update(DzNode&, bool) {}

namespace {

// The largest UV-set index any assembly material of the shape selects (0 for a
// material without a UV-set control).
int largestUVSetInUse(const DzShape& shape) {
    int largest = 0;
    for (int i = 0; i < shape.getNumAssemblyMaterials(); ++i) {
        const DzMaterial* mat = shape.getAssemblyMaterial(i);
        const DzEnumProperty* control = mat ? mat->getUVSetControl() : nullptr;
        if (control && control->getValue() > largest) {
            largest = control->getValue();
        }
    }
    return largest;
}

} // namespace

void DzObject::finalize(DzNode& node, bool, bool) {
    if (m_cacheSupplied) {
        return;
    }
    delete m_cache;
    m_cache = nullptr;
    const DzShape* shape = getCurrentShape();
    const DzGeometry* geom = shape ? shape->getGeometry() : nullptr;
    if (!geom) {
        return;
    }
    DzVertexMesh* mesh = geom->makeCopy(false, true);
    for (DzModifier* mod : m_modifiers) {
        mod->apply(*mesh, node);
    }
    const DzMatrix3 placement = node.getRestWSTransform().inverse() * node.getWSTransform();
    DzPnt3* verts = mesh->getVerticesPtr();
    for (int i = 0; verts && i < mesh->getNumVertices(); ++i) {
        placement.multPnt(verts[i]);
    }
    if (auto* facets = qobject_cast<DzFacetMesh*>(mesh)) {
        if (DzUVSet* set = facets->getUVSet(largestUVSetInUse(*shape))) {
            facets->setUVList(set);
        }
    }
    m_cache = mesh;
}

void DzObject::setCachedGeom(DzVertexMesh* mesh) {
    m_cacheSupplied = mesh != nullptr;
    if (mesh == m_cache) {
        return;
    }
    delete m_cache;
    m_cache = mesh;
}

DzShape* DzObject::getCurrentShape() const {
    return m_shapes.empty() ? nullptr : m_shapes.front();
}

DzShape* DzObject::getShape(int index) const {
    return index >= 0 && index < int(m_shapes.size()) ? m_shapes[size_t(index)] : nullptr;
}

DzError DzObject::addShape(DzShape* shape, int index) {
    if (!shape) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    if (shape->parent()) {
        return DZ_ILLEGAL_OPERATION_ERROR;
    }
    shape->setParent(this);
    m_shapes.insert(m_shapes.begin() + std::ptrdiff_t(insertionPoint(m_shapes, index)), shape);
    return DZ_NO_ERROR;
}

DzError DzObject::removeShape(int index) {
    if (index < 0 || index >= int(m_shapes.size())) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    DzShape* shape = m_shapes[size_t(index)];
    m_shapes.erase(m_shapes.begin() + index);
    delete shape;
    return DZ_NO_ERROR;
}

DzModifier* DzObject::getModifier(int index) const {
    return index >= 0 && index < int(m_modifiers.size()) ? m_modifiers[size_t(index)] : nullptr;
}

int DzObject::findModifierIndex(DzModifier* mod) const {
    auto it = std::find(m_modifiers.begin(), m_modifiers.end(), mod);
    return it == m_modifiers.end() ? -1 : int(it - m_modifiers.begin());
}

DzError DzObject::addModifier(DzModifier* mod, int index) {
    if (!mod) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    if (findModifierIndex(mod) >= 0) {
        return DZ_ILLEGAL_OPERATION_ERROR;
    }
    if (!mod->parent()) {
        mod->setParent(this);
    }
    m_modifiers.insert(m_modifiers.begin() + std::ptrdiff_t(insertionPoint(m_modifiers, index)),
                       mod);
    return DZ_NO_ERROR;
}

DzError DzObject::removeModifier(DzModifier* mod) {
    const int index = findModifierIndex(mod);
    if (index < 0) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    m_modifiers.erase(m_modifiers.begin() + index);
    if (mod->parent() == this) {
        delete mod;
    }
    return DZ_NO_ERROR;
}
