// Where each bone of a skinned model sits when its skin was bound: the bind
// pose, in the host's space, relative to its skeleton's frame (the rest
// world transform of the node the skeleton hangs from, which its figure
// follows), so that whatever places the skeleton as a whole (a turned or
// non-uniformly scaled "Armature") stays on the figure and every bone keeps
// only its own motion. A bone a mesh names takes it from that mesh's
// bind (offset) matrix, the inverse of the bone's world transform at binding
// (the first mesh naming the bone decides). A bone no mesh names (a joint
// between weighted bones, an end marker) takes it from a child bone through
// the child's own transform, else from its parent bone the same way, else
// from where the model places it.
#pragma once

#include "model/node_poses.h"
#include "model/node_table.h"
#include "model/skeleton_plan.h"
#include "model/space_conversion.h"

#include <vector>

struct aiScene;

namespace yfx {
namespace model {

struct BoneBinds {
    std::vector<Mat4> world; // per node, in its skeleton's frame; meaningful for skeleton nodes
};

BoneBinds computeBoneBinds(const aiScene& scene, const NodeTable& table,
                           const SkeletonPlan& skeletons, const NodePoses& poses,
                           const SpaceConversion& space);

} // namespace model
} // namespace yfx
