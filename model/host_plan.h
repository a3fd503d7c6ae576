// The host nodes a model becomes, before any is made: one per model node
// (a bone when the node is in a skeleton; a light or a camera when the node
// holds just that), one figure per skeleton at the scene's top level holding
// its skinned meshes and placed where its skeleton's frame node is, and extra child nodes for what
// a node holds besides its own role (the meshes, lights and cameras of a bone; a second light). An
// Assimp root node that holds nothing and does not move anything is left out,
// and so is a node that only showed skinned meshes and has no children left:
// its figure stands for it.
#pragma once

#include "model/model_notes.h"
#include "model/node_table.h"
#include "model/skeleton_plan.h"

#include <string>
#include <vector>

struct aiScene;

namespace yfx {
namespace model {

enum class HostKind { Plain, Figure, Bone, Light, Camera };

struct HostNodeSpec {
    HostKind kind = HostKind::Plain;
    int source = -1;   // the model node it stands for; -1 for a figure
    int frame = -1;    // a figure: the model node whose world transform it takes, -1 none
    int parent = -1;   // index of its host parent in the plan; -1 at the top
    int skeleton = -1; // figures and bones
    int light = -1;    // aiScene light index, for a light
    int camera = -1;   // aiScene camera index, for a camera
    // Plain nodes: the meshes they show; figures: their skeleton's skinned meshes.
    std::vector<unsigned> meshes;
    std::string name;
};

struct HostPlan {
    std::vector<HostNodeSpec> nodes; // every parent before its children
    std::vector<int> nodeOf;         // per model node: its own host node, -1 when left out
    std::vector<int> figureOf;       // per skeleton: its figure
};

HostPlan planHostNodes(const aiScene& scene, const NodeTable& table, const SkeletonPlan& skeletons,
                       ModelNotes& notes);

} // namespace model
} // namespace yfx
