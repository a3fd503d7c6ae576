#include "model/gltf_weights.h"

#include "model/gltf_source.h"

#include <assimp/scene.h>

#include <cmath>

namespace yfx {
namespace model {

using nlohmann::json;

namespace {

bool misread(int componentType) {
    return componentType == kGltfUnsignedByte || componentType == kGltfUnsignedShort;
}

// The accessor indices of a primitive's JOINTS_n and WEIGHTS_n, n = 0, 1, ...
// while both are there.
void weightSets(const json& attributes, std::vector<std::size_t>& joints,
                std::vector<std::size_t>& weights) {
    for (int n = 0;; ++n) {
        std::size_t j = 0, w = 0;
        if (!gltfIndex(attributes, ("JOINTS_" + std::to_string(n)).c_str(), j) ||
            !gltfIndex(attributes, ("WEIGHTS_" + std::to_string(n)).c_str(), w)) {
            return;
        }
        joints.push_back(j);
        weights.push_back(w);
    }
}

// One primitive's weights by bone, from the file; false with `why`.
bool readPrimitive(GltfSource& source, const std::vector<std::size_t>& jointSets,
                   const std::vector<std::size_t>& weightSets, const aiMesh& mesh,
                   std::vector<std::vector<aiVertexWeight>>& bones, std::size_t& strays,
                   std::string& why) {
    bones.assign(mesh.mNumBones, {});
    for (std::size_t set = 0; set < jointSets.size(); ++set) {
        GltfNumbers joints, weights;
        if (!source.readAccessor(jointSets[set], joints, why) ||
            !source.readAccessor(weightSets[set], weights, why)) {
            return false;
        }
        if (joints.components != 4 || weights.components != 4) {
            why = "its joints or weights are not four per vertex";
            return false;
        }
        if (joints.count != mesh.mNumVertices || weights.count != mesh.mNumVertices) {
            why = format("its weights are for %zu vertices, Assimp's mesh has %u", weights.count,
                         mesh.mNumVertices);
            return false;
        }
        for (std::size_t i = 0; i < joints.values.size(); ++i) {
            const double joint = joints.values[i], weight = weights.values[i];
            if (!(weight > 0) || !std::isfinite(weight)) {
                continue;
            }
            if (!(joint >= 0 && joint < double(mesh.mNumBones)) || joint != std::floor(joint)) {
                ++strays;
                continue;
            }
            bones[std::size_t(joint)].push_back(aiVertexWeight(unsigned(i / 4), ai_real(weight)));
        }
    }
    return true;
}

} // namespace

void SkinWeightTable::weightsOf(const aiMesh& mesh, unsigned m, unsigned b,
                                const aiVertexWeight*& first, unsigned& count) const {
    first = nullptr;
    count = 0;
    if (m < meshes.size() && !meshes[m].empty()) {
        if (b < meshes[m].size()) {
            first = meshes[m][b].data();
            count = unsigned(meshes[m][b].size());
        }
        return;
    }
    const aiBone* bone = b < mesh.mNumBones && mesh.mBones != nullptr ? mesh.mBones[b] : nullptr;
    if (bone != nullptr && bone->mWeights != nullptr) {
        first = bone->mWeights;
        count = bone->mNumWeights;
    }
}

SkinWeightTable mendGltfWeights(const aiScene& scene, GltfSource& source, ModelNotes& notes) {
    SkinWeightTable table;
    const unsigned meshCount = scene.mMeshes != nullptr ? scene.mNumMeshes : 0;
    table.meshes.resize(meshCount);
    // Assimp's mesh index of each glTF primitive: meshes in order, primitives in order.
    std::size_t primitives = 0;
    for (std::size_t m = 0; m < source.itemCount("meshes"); ++m) {
        const json* mesh = source.item("meshes", m);
        const json* list = mesh != nullptr ? gltfArray(*mesh, "primitives") : nullptr;
        primitives += list != nullptr ? list->size() : 0;
    }
    std::size_t k = 0;
    for (std::size_t m = 0; m < source.itemCount("meshes"); ++m) {
        const json* mesh = source.item("meshes", m);
        const json* list = mesh != nullptr ? gltfArray(*mesh, "primitives") : nullptr;
        if (list == nullptr) {
            continue;
        }
        const std::string name =
            gltfString(*mesh, "name", ("meshes[" + std::to_string(m) + "]").c_str());
        std::size_t mended = 0, strays = 0;
        bool bytes = false, shorts = false;
        for (std::size_t p = 0; p < list->size(); ++p, ++k) {
            const json& primitive = (*list)[p];
            const json* attributes = gltfObject(primitive, "attributes");
            if (attributes == nullptr) {
                continue;
            }
            std::vector<std::size_t> jointSets, weightSetList;
            weightSets(*attributes, jointSets, weightSetList);
            bool needed = false;
            for (const std::size_t w : weightSetList) {
                needed = needed || misread(source.componentTypeOf(w));
            }
            const std::string subject = format("%s primitive %zu", name.c_str(), p);
            if (!needed) {
                continue;
            }
            if (primitives != meshCount || k >= meshCount || scene.mMeshes[k] == nullptr) {
                notes.dropFor("skin weights stored as normalised integers", subject,
                              "Assimp's meshes do not match the file's primitives, so they stay "
                              "as Assimp misreads them");
                continue;
            }
            const aiMesh& target = *scene.mMeshes[k];
            if (target.mNumBones == 0 || target.mBones == nullptr) {
                continue; // shown unskinned: its weights are not used
            }
            std::string why;
            if (!readPrimitive(source, jointSets, weightSetList, target, table.meshes[k], strays,
                               why)) {
                table.meshes[k].clear();
                notes.dropFor("skin weights stored as normalised integers", subject,
                              why + ": they stay as Assimp misreads them");
                continue;
            }
            ++mended;
            for (const std::size_t w : weightSetList) {
                bytes = bytes || source.componentTypeOf(w) == kGltfUnsignedByte;
                shorts = shorts || source.componentTypeOf(w) == kGltfUnsignedShort;
            }
        }
        if (mended > 0) {
            notes.apply(format("skin weights of mesh '%s' (%zu primitive%s): stored as "
                               "normalised unsigned %s, read from the file as %s (Assimp reads "
                               "such weights as raw numbers)",
                               name.c_str(), mended, mended == 1 ? "" : "s",
                               bytes && shorts ? "bytes and shorts"
                               : bytes         ? "bytes"
                                               : "shorts",
                               bytes && shorts ? "value / 255 and value / 65535"
                               : bytes         ? "value / 255"
                                               : "value / 65535"));
        }
        if (strays > 0) {
            notes.drop(format("%zu skin weights of mesh '%s': they name no joint of the skin",
                              strays, name.c_str()));
        }
    }
    return table;
}

} // namespace model
} // namespace yfx
