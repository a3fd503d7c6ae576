// DzVertexMesh: geometry made of a vertex array (three floats per vertex, stored
// contiguously). It has no UVs of its own (getUVs is NULL, no UV sets).
// beginEdit/finishEdit only bracket edits; edits outside a bracket are allowed.
#pragma once

#include "dzgeometry.h"
#include "dzvec3.h"

#include <vector>

class DZ_EXPORT DzVertexMesh : public DzGeometry {
    Q_OBJECT
public:
    DzVertexMesh();
    ~DzVertexMesh() override;

    int getEditDepth() const { return m_editDepth; }
    DzVertexMesh* makeCopy(bool shareVerts = false, bool shareFacets = true) const override;

public slots:
    void beginEdit(bool enableUndo = true) override;
    void finishEdit() override;
    int getNumVertices() const override { return int(m_verts.size() / 3); }
    // NULL while there are no vertices; valid until vertices are added.
    DzPnt3* getVerticesPtr() const override;
    // (0, 0, 0) for an index out of range.
    DzVec3 getVertex(int index) const;
    // Returns the new vertex's index.
    int addVertex(float x, float y, float z);
    int addVertex(const DzVec3& v) { return addVertex(v.m_x, v.m_y, v.m_z); }
    // Ignored for an index out of range.
    void setVertex(int index, const DzVec3& v);
    // Reserves room for n vertices; DZ_ILLEGAL_ARGUMENT_ERROR for a negative n.
    DzError preSizeVertexArray(int n);
    DzMap* getUVs() const override { return nullptr; }
    int getNumUVSets() const override { return 0; }
    DzUVSet* getUVSet(int) const override { return nullptr; }
    // Removes every vertex.
    virtual void clearAll();

protected:
    // Gives target this mesh's vertices (replacing its own).
    void copyVerticesTo(DzVertexMesh& target) const { target.m_verts = m_verts; }

private:
    mutable std::vector<float> m_verts;
    int m_editDepth = 0;
};
