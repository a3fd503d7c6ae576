// Geometry for the host nodes that show meshes.
//
// A plain node shows its (unskinned) meshes in its own space. A figure shows
// its skeleton's skinned meshes at the bind pose: each vertex is carried from
// the mesh's space to the figure's rest space by its bones' bind transforms
// (bone bind pose times the bone's offset matrix, blended by the vertex's
// weights, the mesh's own space for a vertex without weights), so that the
// host's skinning of the posed bones puts it where the model's skinning does.
// The figure's skin binding gets one bone binding per bone that carries
// weights, with one weight map each.
#pragma once

#include "model/bone_binds.h"
#include "model/facet_mesh_builder.h"
#include "model/gltf_weights.h"
#include "model/host_nodes.h"
#include "model/host_plan.h"
#include "model/model_notes.h"
#include "model/skeleton_plan.h"
#include "model/space_conversion.h"
#include "model/texture_files.h"

#include <vector>

struct aiScene;

namespace yfx {
namespace model {

struct GeometryInputs {
    const aiScene& scene;
    const NodeTable& table;
    const SkeletonPlan& skeletons;
    const HostPlan& plan;
    const BoneBinds& binds;
    const SkinWeightTable& weights; // weights read from the file, where Assimp's are wrong
    const SpaceConversion& space;
    TextureFiles& textures;
    ModelNotes& notes;
};

// Gives every planned plain node and figure with meshes its object. Returns
// the faces their meshes keep.
KeptFaces dressHostNodes(const GeometryInputs& in, const std::vector<MadeNode>& made);

} // namespace model
} // namespace yfx
