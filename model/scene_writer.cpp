#include "model/scene_writer.h"

#include "model/space_conversion.h"
#include "model/writer_animation.h"
#include "model/writer_lights.h"
#include "model/writer_materials.h"
#include "model/writer_meshes.h"
#include "model/writer_nodes.h"

#include <assimp/scene.h>

#include <algorithm>

namespace yfx {
namespace model {

namespace {

template <class T> T** newArray(const std::vector<T*>& items) {
    T** out = new T*[items.size()];
    std::copy(items.begin(), items.end(), out);
    return out;
}

} // namespace

std::unique_ptr<aiScene> sceneFromHost(const std::string& extension, const QString& outputFolder,
                                       ModelNotes& notes) {
    const SpaceConversion toModel = hostToModel(extension, notes);
    WriterTree tree = makeWriterTree(toModel);
    WrittenMeshes meshes;
    writeMeshes(tree, toModel, outputFolder, meshes, notes);
    if (meshes.materials.empty()) {
        meshes.materials.push_back(defaultAiMaterial());
    }
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = tree.root.release();
    scene->mNumMeshes = unsigned(meshes.meshes.size());
    scene->mMeshes = newArray(meshes.meshes);
    scene->mNumMaterials = unsigned(meshes.materials.size());
    scene->mMaterials = newArray(meshes.materials);
    const std::vector<aiLight*> lights = writeLights(tree, notes);
    if (!lights.empty()) {
        scene->mNumLights = unsigned(lights.size());
        scene->mLights = newArray(lights);
    }
    if (aiAnimation* animation = writeAnimation(tree, toModel, notes)) {
        scene->mNumAnimations = 1;
        scene->mAnimations = new aiAnimation* [1] { animation };
    }
    return scene;
}

} // namespace model
} // namespace yfx
