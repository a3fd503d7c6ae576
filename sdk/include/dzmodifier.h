// DzModifier: something an object applies to its geometry. Abstract.
// DzObject::finalize hands each modifier, in list order, a copy of the current
// shape's mesh with its vertices still at rest (where they sit while every node is
// at rest) and the node the object belongs to; the modifier moves the vertices in
// place. applyInverse undoes what apply did for the same pose.
#pragma once

#include "dzelement.h"

class DzNode;
class DzVertexMesh;

class DZ_EXPORT DzModifier : public DzElement {
    Q_OBJECT
public:
    ~DzModifier() override;

    virtual DzError apply(DzVertexMesh& mesh, DzNode& node) = 0;
    virtual DzError applyInverse(DzVertexMesh& mesh, DzNode& node) = 0;
    // Not virtual, as in the host: true for the skin binding (a choice of the
    // stand-in; the host does not document which modifiers count).
    bool isWeightMapModifier() const;

protected:
    DzModifier();
};
