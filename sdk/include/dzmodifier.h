// DzModifier: something an object applies to its geometry. Abstract.
#pragma once

#include "dzelement.h"

class DzNode;
class DzVertexMesh;

class DZ_EXPORT DzModifier : public DzElement {
    Q_OBJECT
public:
    ~DzModifier() override;

    virtual bool isWeightMapModifier() const { return false; }

protected:
    DzModifier();
};
