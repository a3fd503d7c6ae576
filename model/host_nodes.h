// Makes the planned host nodes: each of its class, named after its model node
// (name and label), hung under its host parent, the top ones added to the
// scene. Bones get their pivot from the bind pose: the origin at the bone's
// bind position, the orientation its bind rotation, the end point at its
// first child bone (a leaf continues its parent's direction by half its
// parent's length). Each made node comes with its correction: the host node's
// world transform is the model node's world times the correction (the light
// or camera frame; for a bone, the move from its bind pose to the host's rest
// pose, a translation to its origin).
#pragma once

#include "model/bone_binds.h"
#include "model/host_plan.h"
#include "model/model_notes.h"
#include "model/space_conversion.h"

#include <vector>

class DzNode;
struct aiScene;

namespace yfx {
namespace model {

struct MadeNode {
    DzNode* node = nullptr;
    Mat4 correction;
};

std::vector<MadeNode> makeHostNodes(const aiScene& scene, const NodeTable& table,
                                    const HostPlan& plan, const BoneBinds& binds,
                                    const SpaceConversion& space, ModelNotes& notes);

} // namespace model
} // namespace yfx
