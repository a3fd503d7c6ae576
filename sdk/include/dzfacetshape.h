// DzFacetShape: a shape whose geometry is a facet mesh (owned by the shape).
//
// What still differs from the host: only the mesh's setter and getter are
// declared; the host's subdivision, resolution and render members are left out.
#pragma once

#include "dzshape.h"

class DzFacetMesh;

class DZ_EXPORT DzFacetShape : public DzShape {
    Q_OBJECT
public:
    DzFacetShape();
    ~DzFacetShape() override;

public slots:
    // Takes ownership; the previous mesh is deleted (setting the same mesh again
    // changes nothing).
    virtual void setFacetMesh(DzFacetMesh* mesh);
    DzFacetMesh* getFacetMesh() const { return m_mesh; }
    DzGeometry* getGeometry() const override;

private:
    DzFacetMesh* m_mesh = nullptr;
};
