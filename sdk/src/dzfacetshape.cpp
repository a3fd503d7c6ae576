#include "dzfacetshape.h"

#include "dzfacetmesh.h"

DzFacetShape::DzFacetShape() = default;

DzFacetShape::~DzFacetShape() {
    // Cleared before DzShape lets go of its materials, whose UV-set controls
    // look at the geometry.
    delete m_mesh;
    m_mesh = nullptr;
}

void DzFacetShape::setFacetMesh(DzFacetMesh* mesh) {
    if (mesh == m_mesh) {
        return;
    }
    delete m_mesh;
    m_mesh = mesh;
}

DzGeometry* DzFacetShape::getGeometry() const {
    return m_mesh;
}
