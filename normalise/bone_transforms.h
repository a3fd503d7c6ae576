// Bone matrices, lengths and head and tail points from each bone's position,
// rotation, scale and parent.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// For every bone: local = rotation with the position as translation, times
// the scale; world = parent's world times local (local for a root; the
// identity when the parent index is the bone itself or past the last bone);
// inverse world; length to parent = distance between the world translations
// of the bone and its parent; head = tail = world translation. Finally each
// parent's tail becomes the head of its last child. Parents are expected to
// precede their children: a later parent contributes its world matrix as it
// stands at that moment (the identity).
void computeBoneTransforms(SceneDoc& doc);

// A bone's local matrix: the rotation with the position as translation,
// times the scale.
void composeBoneLocal(const float position[3], const float rotation[4], const float scale[3],
                      float out[16]);

} // namespace normalise
} // namespace yfx
