#include "export/skin_weight_gathering.h"

#include <algorithm>

#include <dzbonebinding.h>
#include <dznode.h>
#include <dzobject.h>
#include <dzskinbinding.h>
#include <dzweightmap.h>

#include "document/doc_weights.h"

namespace yfx {
namespace exporter {

namespace {

void addBindingWeights(const DzWeightMap& map, std::int32_t bone, DocMesh& mesh) {
    const std::size_t limit =
        std::min(static_cast<std::size_t>(map.getNumWeights()), mesh.vertices.size());
    for (std::size_t k = 0; k < limit; ++k) {
        const double w = map.getFloatWeight(static_cast<int>(k));
        if (w != 0.0 && addWeight(mesh.vertices[k], bone, static_cast<float>(w)) != nullptr) {
            mesh.weights_flag = 1;
        }
    }
}

} // namespace

int gatherSkinWeights(const DzNode& node, DocMesh& mesh, const BoneIndexOfNode& bones) {
    const DzObject* object = node.getObject();
    if (object == nullptr) {
        return 0;
    }
    const auto vertexCount = static_cast<std::int64_t>(mesh.vertices.size());
    const std::int64_t highestPlusOne = std::int64_t{mesh.highest_vertex_index} + 1;
    const int modifierCount = object->getNumModifiers();
    for (int m = 0; m < modifierCount; ++m) {
        const auto* skin = qobject_cast<const DzSkinBinding*>(object->getModifier(m));
        if (skin == nullptr) {
            continue;
        }
        const int bindingCount = skin->getNumBoneBindings();
        for (int b = 0; b < bindingCount; ++b) {
            const DzBoneBinding* binding = skin->getBoneBinding(b);
            if (binding == nullptr) {
                continue;
            }
            const std::int32_t bone = boneIndexOf(bones, binding->getBone());
            const DzWeightMap* map = binding->getScaleWeights();
            if (map == nullptr) {
                map = binding->getWeights();
            }
            if (map == nullptr) {
                continue;
            }
            const std::int64_t length = map->getNumWeights();
            if (length != vertexCount && length != highestPlusOne) {
                continue;
            }
            if (bone >= 0 && vertexCount > 0) {
                addBindingWeights(*map, bone, mesh);
            }
        }
    }
    return 1;
}

} // namespace exporter
} // namespace yfx
