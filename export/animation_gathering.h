// Animation: the scene's play range played frame by frame, every node's
// transform per frame captured as keys of one DocAnimation with one DocTrack
// per DocBone.
#pragma once

#include <vector>

#include <dzgeneraldefs.h>

#include "export/export_session.h"

class DzNode;
class DzScene;

namespace yfx {
namespace exporter {

// Frames per second for a host time step: 4800 / step as a float (a step
// below 1 counts as 1); 30 if that is 0.
float framesPerSecond(DzTime timeStep);

// Samples frames first .. first + count - 1 of the play range, count = last -
// first but at least 1; track i takes node i of `nodes` (the node index
// order) at each frame, keyed at frame × (1 / fps) seconds. The scene's time
// is given back afterwards. Returns 1 (also for a scene without nodes), 0
// when the animation or its tracks cannot be allocated.
int gatherAnimation(ExportSession& session, DzScene& scene, const std::vector<DzNode*>& nodes);

} // namespace exporter
} // namespace yfx
