// Which nodes of a model become the bones of a host figure.
//
// A skinned mesh names its bones by node. Its skeleton is every node on the
// paths from those bones up to their lowest common ancestor (that ancestor
// too when it is a bone itself); meshes whose skeletons share a node share
// one figure. Below a bone, a subtree with nothing in it (no mesh, light or
// camera: end markers such as "Bone_end") joins the skeleton too, so that
// leaf bones get end points. Everything else stays a plain node.
#pragma once

#include "model/model_notes.h"
#include "model/node_table.h"

#include <vector>

struct aiScene;

namespace yfx {
namespace model {

struct SkeletonPlan {
    int skeletonCount = 0;
    std::vector<int> nodeSkeleton; // per node: skeleton index, -1 for a plain node
    std::vector<int> meshSkeleton; // per mesh: skeleton index, -1 when not skinned
    // Per mesh, per aiBone of it: the node it names, -1 when no node has that name.
    std::vector<std::vector<int>> boneNodes;
    // Per skeleton: the model node its top bones hang from (an "Armature"),
    // whose world transform places the whole skeleton; -1 when the top bones
    // are roots of the model or hang from different nodes.
    std::vector<int> frameNode;
};

// `nodeHasContent[i]`: node i holds a mesh, or a light or camera is named after it.
SkeletonPlan planSkeletons(const aiScene& scene, const NodeTable& table,
                           const std::vector<char>& nodeHasContent, ModelNotes& notes);

// Per node: it holds a mesh, or a light or a camera is named after it.
std::vector<char> nodesWithContent(const aiScene& scene, const NodeTable& table);

} // namespace model
} // namespace yfx
