#include "model/scene_builder.h"

#include "model/bone_binds.h"
#include "model/gltf_curves.h"
#include "model/gltf_source.h"
#include "model/gltf_weights.h"
#include "model/host_nodes.h"
#include "model/host_plan.h"
#include "model/node_geometry.h"
#include "model/node_poses.h"
#include "model/node_table.h"
#include "model/scene_motion.h"
#include "model/skeleton_plan.h"
#include "model/space_conversion.h"
#include "model/texture_files.h"

#include <assimp/scene.h>

#include <dzscene.h>

namespace yfx {
namespace model {

namespace {

// The animation to key: the first; the others are said to be left out.
int chooseAnimation(const aiScene& scene, ModelNotes& notes) {
    if (scene.mAnimations == nullptr || scene.mNumAnimations == 0) {
        return -1;
    }
    for (unsigned a = 1; a < scene.mNumAnimations; ++a) {
        if (scene.mAnimations[a] != nullptr) {
            notes.drop(format("animation '%s': the host scene has one time line (the first "
                              "animation is keyed)",
                              scene.mAnimations[a]->mName.C_Str()));
        }
    }
    return scene.mAnimations[0] != nullptr ? 0 : -1;
}

} // namespace

bool buildHostScene(const aiScene& scene, const BuildOptions& options, BuiltScene& built,
                    ModelNotes& notes, std::string& error) {
    if (dzScene == nullptr) {
        error = "there is no host scene to build into";
        return false;
    }
    const NodeTable table = makeNodeTable(scene);
    if (table.size() == 0) {
        error = "the model has no nodes";
        return false;
    }
    const SpaceConversion space =
        modelToHost(scene, options.extension, options.cmPerUnitOverride, notes);
    const SkeletonPlan skeletons =
        planSkeletons(scene, table, nodesWithContent(scene, table), notes);
    const HostPlan plan = planHostNodes(scene, table, skeletons, notes);
    const int animation = chooseAnimation(scene, notes);
    // What Assimp loses of a glTF file is read from the file itself.
    SkinWeightTable weights;
    AnimationCurves curves;
    if (!options.modelPath.isEmpty() &&
        (options.extension == "gltf" || options.extension == "glb")) {
        GltfSource source;
        std::string why;
        if (source.load(options.modelPath, why)) {
            weights = mendGltfWeights(scene, source, notes);
            curves = readGltfCurves(scene, animation, source, notes);
        } else {
            notes.drop(format("the glTF file's own data (%s): skin weights stored as integers "
                              "and the animation's interpolation are as Assimp gives them",
                              why.c_str()));
        }
    }
    const NodePoses poses(scene, table, space, animation, notes, &curves);
    const BoneBinds binds = computeBoneBinds(scene, table, skeletons, poses, space);

    const std::vector<MadeNode> made = makeHostNodes(scene, table, plan, binds, space, notes);
    TextureFiles textures(scene, options.modelPath, options.textureFolder, options.textureBase,
                          notes);
    const KeptFaces kept = dressHostNodes(
        {scene, table, skeletons, plan, binds, weights, space, textures, notes}, made);
    built.polygons = kept.faces;
    built.facets = kept.facets;
    built.frames = placeHostNodes(plan, made, poses, notes);
    if (built.frames > 0) {
        notes.apply(format("animation '%s': %d frames keyed at the host's frame rate",
                           scene.mAnimations[0]->mName.C_Str(), built.frames));
    }

    for (const auto& written : textures.writtenFiles()) {
        built.textureFiles.push_back(written.second);
    }
    built.hostNodes = int(made.size());
    for (const HostNodeSpec& spec : plan.nodes) {
        built.figures += spec.kind == HostKind::Figure;
        built.bones += spec.kind == HostKind::Bone;
    }
    return true;
}

} // namespace model
} // namespace yfx
