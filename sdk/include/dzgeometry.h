// DzGeometry: the interface of vertex geometry. Abstract.
#pragma once

#include "dzstorable.h"

class DzMap;
class DzUVSet;
class DzVertexMesh;

class DZ_EXPORT DzGeometry : public DzStorable {
    Q_OBJECT
public:
    ~DzGeometry() override;

public slots:
    virtual void beginEdit(bool enableUndo = true) = 0;
    virtual void finishEdit() = 0;
    virtual int getNumVertices() const = 0;
    virtual DzPnt3* getVerticesPtr() const = 0;
    virtual DzMap* getUVs() const = 0;
    virtual int getNumUVSets() const = 0;
    virtual DzUVSet* getUVSet(int index) const = 0;

public:
    // A new mesh of the same kind with the same content, owned by the caller.
    // The stand-in always copies vertices and faces (it shares neither, whatever
    // the flags say); maps shared by reference count stay shared.
    virtual DzVertexMesh* makeCopy(bool shareVerts = false, bool shareFacets = true) const = 0;

protected:
    DzGeometry();
};
