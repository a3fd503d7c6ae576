#include "dzvertexmesh.h"

DzVertexMesh::DzVertexMesh() = default;

DzVertexMesh::~DzVertexMesh() = default;

void DzVertexMesh::beginEdit(bool) {
    ++m_editDepth;
}

void DzVertexMesh::finishEdit() {
    if (m_editDepth > 0) {
        --m_editDepth;
    }
}

DzPnt3* DzVertexMesh::getVerticesPtr() const {
    return m_verts.empty() ? nullptr : reinterpret_cast<DzPnt3*>(m_verts.data());
}

DzVec3 DzVertexMesh::getVertex(int index) const {
    if (index < 0 || index >= getNumVertices()) {
        return DzVec3(0.0f, 0.0f, 0.0f);
    }
    const float* v = &m_verts[size_t(index) * 3];
    return DzVec3(v[0], v[1], v[2]);
}

int DzVertexMesh::addVertex(float x, float y, float z) {
    m_verts.push_back(x);
    m_verts.push_back(y);
    m_verts.push_back(z);
    return getNumVertices() - 1;
}

void DzVertexMesh::setVertex(int index, const DzVec3& v) {
    if (index < 0 || index >= getNumVertices()) {
        return;
    }
    float* p = &m_verts[size_t(index) * 3];
    p[0] = v.m_x;
    p[1] = v.m_y;
    p[2] = v.m_z;
}

DzError DzVertexMesh::preSizeVertexArray(int n) {
    if (n < 0) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    m_verts.reserve(size_t(n) * 3);
    return DZ_NO_ERROR;
}

void DzVertexMesh::clearAll() {
    m_verts.clear();
}

DzVertexMesh* DzVertexMesh::makeCopy(bool, bool) const {
    auto* copy = new DzVertexMesh();
    copyVerticesTo(*copy);
    return copy;
}
