// DzFacetMesh: a vertex mesh with faces (triangles and quads), material groups,
// face groups, a UV map and UV sets.
//
// - New faces go into the active material group and the active face group (index
//   0 while none is active). activateMaterial / activateFaceGroup by name create
//   the group when it is missing; by index they select an existing group, and an
//   index past the end creates the missing groups, named "Material<i>" or
//   "Group<i>". A negative index is ignored. There can be at most 65536 groups of
//   each kind (the facet's index is 16-bit); activating beyond that returns -1.
// - Vertex and UV indices of a face are stored as given: the mesh does not check
//   them against its vertices or its UV map.
// - UVs: the mesh's UV map (getUVs) is the map given to setUVList (a reference is
//   held). A mesh that has no UV set when it is given a UV list also takes a copy
//   of that list as its UV set 0, labelled "Default", so that getUVSet(0) answers.
//   The map is shared by reference count, so it must be made with new.
//   UV sets added with addUVSet are owned by the mesh.
// - makeCopy copies vertices, faces, flags and both kinds of groups, and shares the
//   UV map and the UV sets with the original (each holds a reference).
//
// As in the host, DzFaceGroup is only declared here (dzfacegroup.h defines
// it). What still differs: the facet type comes from dzface.h (the host
// defines it in this header), and the host's list and set classes of groups
// are left out.
#pragma once

#include "dzface.h"
#include "dzvertexmesh.h"

#include <QtCore/QHash>

#include <vector>

class DzFaceGroup;
class DzMaterialFaceGroup;
class DzUVSet;

class DZ_EXPORT DzFacetMesh : public DzVertexMesh {
    Q_OBJECT
public:
    static const QString c_defaultFaceGroupName;

    DzFacetMesh();
    ~DzFacetMesh() override;

    // Contiguous faces; NULL while there are none. Valid until faces are added.
    DzFacet* getFacetsPtr() const;
    unsigned char* getFacetFlagsPtr() const;
    // Adds one face; a negative fourth vertex index makes a triangle.
    void addFacet(const int vertIdx[4], const int uvwIdx[4], unsigned char flags = 0);
    DzVertexMesh* makeCopy(bool shareVerts = false, bool shareFacets = true) const override;

public slots:
    int getNumFacets() const { return int(m_facets.size()); }
    // A cleared facet for an index out of range.
    DzFacet getFacet(int index) const;
    // Reserves room; DZ_ILLEGAL_ARGUMENT_ERROR for a negative count.
    DzError preSizeFacets(int n);

    int activateMaterial(const QString& name);
    void activateMaterial(int index);
    int activateFaceGroup(const QString& name);
    void activateFaceGroup(int index);
    int getActiveMaterial() const { return m_activeMaterial; }
    int getActiveFaceGroup() const { return m_activeFaceGroup; }
    // False when a face group of that name exists (or the limit is reached).
    bool createFaceGroup(const QString& name);
    // The index of the (possibly new) material group of that name; -1 at the limit.
    int createMaterialGroup(const QString& name);
    int getNumFaceGroups() const { return int(m_faceGroups.size()); }
    DzFaceGroup* getFaceGroup(int index) const;
    DzFaceGroup* findFaceGroup(const QString& name, int* index = nullptr) const;
    int getNumMaterialGroups() const { return int(m_materialGroups.size()); }
    DzMaterialFaceGroup* getMaterialGroup(int index) const;
    DzMaterialFaceGroup* findMaterialGroup(const QString& name, int* index = nullptr) const;

    DzMap* getUVs() const override { return m_uvs; }
    int getNumUVSets() const override { return int(m_uvSets.size()); }
    DzUVSet* getUVSet(int index) const override;
    void setUVList(DzMap* map);
    // Takes ownership; ignored for NULL or a set already present.
    void addUVSet(DzUVSet* uvSet);
    // Index of the first UV set with that label, or -1.
    int findUVSetIndexByLabel(const QString& label) const;

    void clearAll() override;

private:
    int addGroup(std::vector<DzFaceGroup*>& groups, QHash<QString, int>& index, const QString& name,
                 bool material);
    int groupAtIndex(std::vector<DzFaceGroup*>& groups, QHash<QString, int>& index, int at,
                     bool material);

    mutable std::vector<DzFacet> m_facets;
    mutable std::vector<unsigned char> m_flags;
    std::vector<DzFaceGroup*> m_faceGroups;
    std::vector<DzFaceGroup*> m_materialGroups;
    QHash<QString, int> m_faceGroupIndex;
    QHash<QString, int> m_materialGroupIndex;
    int m_activeMaterial = 0;
    int m_activeFaceGroup = 0;
    DzMap* m_uvs = nullptr;
    std::vector<DzUVSet*> m_uvSets;
};
