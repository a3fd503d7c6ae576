// The scene's time line set from the document's first animation.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace importer {

// When the document has bones and an animation: the scene's time step
// becomes ceil(4800 / rate) ticks (the rate as framesPerSecond gives it), the
// current frame 0, and the animation and play ranges run from 0 to
// (time step) x (start frame + end frame), the frames truncated toward zero
// (a frame that is not a finite 32-bit number counts as 0) and the end
// clamped to the host's time range. Then the scene and views refresh.
void setUpTimeLine(const SceneDoc& doc);

} // namespace importer
} // namespace yfx
