// DzFacetShape: a shape whose geometry is a facet mesh (owned by the shape).
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
