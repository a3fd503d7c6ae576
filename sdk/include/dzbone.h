// DzBone: a joint node of a skeleton. Bones are ordinary child nodes of their
// figure or of other bones and take their transform from DzNode.
//
// What still differs from the host: the bone adds nothing to DzNode here. The
// host's class overrides the origin, end point and orientation getters (with
// DzNode's signatures, so calls read the same) and has a follow bone; the Poser
// flag data classes its header also declares are left out.
#pragma once

#include "dznode.h"

class DZ_EXPORT DzBone : public DzNode {
    Q_OBJECT
public:
    DzBone();
    ~DzBone() override;
};
