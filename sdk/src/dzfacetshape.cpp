#include "dzfacetshape.h"

#include "dzfacetmesh.h"

DzFacetShape::DzFacetShape() = default;

DzFacetShape::~DzFacetShape() {
    delete m_mesh;
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
