// Each bone's transform relative to its parent, from the host matrices of a
// gathered document. A part whose decomposition would not be finite (a bone
// scaled to zero) takes the identity's value: position 0, rotation
// (0, 0, 0, 1), scale 1.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// Each bone's position, rotation and scale relative to its parent, from the
// host matrices (local = inverse of the parent's world times the bone's world).
void computeBoneLocals(SceneDoc& doc);

} // namespace prepare
} // namespace yfx
