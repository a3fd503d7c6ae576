// Animation keys of a gathered document: captured per frame, made relative to
// the rest pose, and the frame range. No NaN or infinity reaches a key from
// these passes: where a decomposition or a division would not give a finite
// value, the identity's value for that part is used (position 0, rotation
// (0, 0, 0, 1), scale 1).
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// One position, rotation and scale key per track at its sample time, from the
// tracks' local matrices of the frame (relative to the parent track's).
void captureTrackKeys(DocAnimation& animation);

// Keys re-expressed relative to each bone's rest position, rotation and
// scale; only when the animation has one track per bone of the document.
void keysRelativeToRest(const SceneDoc& doc, DocAnimation& animation);

// Start and end frame of every animation from its key times (earliest key
// moved to 0 when negative); a frame rate of 0 becomes 30.
void setAnimationFrameRange(SceneDoc& doc);

} // namespace prepare
} // namespace yfx
