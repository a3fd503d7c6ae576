// Host node transforms from and to the conversion's matrices. The host keeps
// a node's transform as properties (translation, rotation in the node's
// rotation order, scale; both about the node's origin and along its
// orientation) in row-vector matrices; the conversion works with column-vector
// matrices (space_math.h).
#pragma once

#include "model/space_math.h"

#include <dzmatrix3.h>
#include <dztypes.h>

class DzNode;

namespace yfx {
namespace model {

Mat4 fromHost(const DzMatrix3& m);
DzMatrix3 toHost(const Mat4& m);

// Sets the node's translation, rotation and scale properties so that its
// local transform (relative to its parent, which must already be set, as must
// its origin and orientation) becomes `local`: untimed, or as keys at `time`.
// Shear, which the properties cannot hold, is dropped.
void placeNode(DzNode& node, const Mat4& local, bool keyed, DzTime time);

} // namespace model
} // namespace yfx
