// DzFaceGroup and DzMaterialFaceGroup: named groups of a facet mesh's faces.
// A group's name is fixed when the mesh creates it; the mesh keeps the number of
// faces in each group as faces are added.
//
// What still differs from the host: the host's groups are QObjects that hold
// their face indices (an index list) and are shared by reference count; here a
// group keeps only its name and face count, and the mesh holds the indices. The
// vertex-pair class of the host's header is left out.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QString>

class DZ_EXPORT DzFaceGroup {
public:
    explicit DzFaceGroup(const QString& name) : m_name(name) {}
    virtual ~DzFaceGroup();

    QString getName() const { return m_name; }
    // Number of faces of the mesh in this group.
    int count() const { return m_count; }

private:
    friend class DzFacetMesh;
    QString m_name;
    int m_count = 0;
};

class DZ_EXPORT DzMaterialFaceGroup : public DzFaceGroup {
public:
    explicit DzMaterialFaceGroup(const QString& name) : DzFaceGroup(name) {}
    ~DzMaterialFaceGroup() override;
};
