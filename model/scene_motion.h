// Places every made host node and keys its motion. A node's world transform
// is its model node's world times its correction (a figure takes the world
// of its skeleton's frame node, or stays at the scene's origin without one);
// its local transform, relative to its host parent, goes
// into its translation, rotation and scale properties.
//
// Without an animation every node is placed once (untimed) and the play range
// is the single frame 0. With one, the time line runs at the scene's time step
// (30 frames per second by default): frames 0 to K, K the first frame at or
// after the animation's last key, each sampled from the model, and every node
// whose local transform an animation channel drives (its own model node's, or
// one between it and its host parent's) gets a key on each of its nine
// transform properties at each frame; the others are placed once. The play
// and animation ranges end one frame after K, so that an export, which
// samples the play range without its last frame, takes every keyed frame.
#pragma once

#include "model/host_nodes.h"
#include "model/host_plan.h"
#include "model/model_notes.h"
#include "model/node_poses.h"

#include <vector>

namespace yfx {
namespace model {

// The frames keyed (0 without an animation).
// A node whose local transform shears (a non-uniform scale not along its own
// axes, under a turn) is given the nearest transform without shear, along
// the scene's axes, and named in `notes`; its children are placed against
// where it was put, so that they keep their own motion.
int placeHostNodes(const HostPlan& plan, const std::vector<MadeNode>& made, const NodePoses& poses,
                   ModelNotes& notes);

} // namespace model
} // namespace yfx
