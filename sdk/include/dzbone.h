// DzBone: a joint node of a skeleton. Bones are ordinary child nodes of their
// figure or of other bones and take their transform from DzNode.
#pragma once

#include "dznode.h"

class DZ_EXPORT DzBone : public DzNode {
    Q_OBJECT
public:
    DzBone();
    ~DzBone() override;
};
