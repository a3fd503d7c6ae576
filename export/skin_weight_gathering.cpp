#include "export/skin_weight_gathering.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_set>

#include <dzbonebinding.h>
#include <dznode.h>
#include <dzobject.h>
#include <dzskinbinding.h>
#include <dzweightmap.h>

#include "document/doc_weights.h"

namespace yfx {
namespace exporter {

namespace {

// The first non-zero raw weight at or after k, or `end`. Runs of zeros are
// passed over four weights (eight bytes) at a time.
std::size_t nextNonZero(const unsigned short* raw, std::size_t k, std::size_t end) {
    std::uint64_t four = 0;
    while (k + 4 <= end) {
        std::memcpy(&four, raw + k, sizeof four);
        if (four != 0) {
            break;
        }
        k += 4;
    }
    while (k < end && raw[k] == 0) {
        ++k;
    }
    return k;
}

// A bone's map holds a weight for every vertex of the mesh, most of them
// zero (a vertex follows a few bones): the raw array is scanned for the
// non-zero entries, and only those are read through the host's conversion.
// A bone no vertex has a weight for yet (`fresh`, the usual case: one binding
// per bone) is appended without looking through each vertex's list, which
// would cost a vertex's bones squared.
void addBindingWeights(const DzWeightMap& map, std::int32_t bone, bool fresh, DocMesh& mesh) {
    const unsigned short* raw = map.getWeights();
    if (raw == nullptr) {
        return; // a map without weights
    }
    const std::size_t limit =
        std::min(static_cast<std::size_t>(map.getNumWeights()), mesh.vertices.size());
    for (std::size_t k = nextNonZero(raw, 0, limit); k < limit;
         k = nextNonZero(raw, k + 1, limit)) {
        const double w = map.getFloatWeight(static_cast<int>(k));
        DocVertex& vertex = mesh.vertices[k];
        const float weight = static_cast<float>(w);
        if (w != 0.0 && (fresh ? appendWeight(vertex, bone, weight)
                               : addWeight(vertex, bone, weight)) != nullptr) {
            mesh.weights_flag = 1;
        }
    }
}

} // namespace

int gatherSkinWeights(const DzNode& node, DocMesh& mesh, const BoneIndexOfNode& bones,
                      SkippedWeightMaps& skipped) {
    const DzObject* object = node.getObject();
    if (object == nullptr) {
        return 0;
    }
    const auto vertexCount = static_cast<std::int64_t>(mesh.vertices.size());
    std::unordered_set<std::int32_t> weighted; // bones some vertex has a weight for
    for (const DocVertex& vertex : mesh.vertices) {
        for (const DocWeight& entry : vertex.weights) {
            weighted.insert(entry.bone);
        }
    }
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
                if (skipped.maps++ == 0) {
                    skipped.length = length;
                }
                continue;
            }
            if (bone >= 0 && vertexCount > 0) {
                addBindingWeights(*map, bone, weighted.insert(bone).second, mesh);
            }
        }
    }
    return 1;
}

} // namespace exporter
} // namespace yfx
