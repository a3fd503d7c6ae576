#include "prepare/skin_weights.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_map>

#include "document/doc_append.h"
#include "document/doc_weights.h"
#include "normalise/bone_transforms.h"
#include "normalise/index_checks.h"
#include "prepare/affine_parts.h"

namespace yfx {
namespace prepare {

namespace {

// The first bone of each host node, so that a mesh finds its own bone in one
// look-up rather than a scan of the bones.
using BoneOfNode = std::unordered_map<const DzNode*, std::int32_t>;

BoneOfNode firstBoneOfEachNode(const std::vector<DocBone>& bones) {
    BoneOfNode map;
    map.reserve(bones.size());
    for (std::size_t i = 0; i < bones.size(); ++i) {
        if (bones[i].host_node != nullptr) {
            map.emplace(bones[i].host_node, static_cast<std::int32_t>(i)); // keeps the first
        }
    }
    return map;
}

// An entry added n times holds the sum of n weights; it becomes their mean.
void averageRepeatedEntries(DocVertex& vertex) {
    for (DocWeight& entry : vertex.weights) {
        if (entry.contributions > 1) {
            entry.weight *= 1.0f / static_cast<float>(entry.contributions);
        }
    }
}

void appendWholeWeight(DocVertex& vertex, std::int32_t bone) {
    DocWeight* entry = addWeightSlot(vertex);
    if (entry != nullptr) {
        *entry = DocWeight{bone, 1.0f, 1};
    }
}

// Weights that sum to more than 1 on a vertex that names the mesh's own bone
// b: b gives up what the other bones hold, and the parent p takes what b
// held short of 1.
void shiftExcessToParent(DocVertex& vertex, std::int32_t b, std::int32_t p) {
    float ownTotal = 0.0f;
    float otherTotal = 0.0f;
    int others = 0;
    DocWeight* own = nullptr;
    for (DocWeight& entry : vertex.weights) {
        if (entry.bone == b) {
            ownTotal += entry.weight;
            if (own == nullptr) {
                own = &entry;
            }
        } else {
            otherTotal += entry.weight;
            ++others;
        }
    }
    if (ownTotal > 1.0f || otherTotal > 1.0f) {
        removeWeight(vertex, b);
        return;
    }
    own->weight -= otherTotal;
    if (own->weight < 0.0f) {
        float shortfall = own->weight;
        own->weight = 0.0f;
        if (others > 1) {
            shortfall /= static_cast<float>(others);
        }
        for (DocWeight& entry : vertex.weights) {
            if (entry.bone != b) {
                entry.weight += shortfall;
            }
        }
    }
    addWeight(vertex, p, 1.0f - ownTotal);
}

// One vertex of a skinned mesh whose own bone is b and b's parent p (-1 none).
void completeSkinnedVertex(DocVertex& vertex, std::int32_t b, std::int32_t p,
                           const std::vector<DocBone>& bones) {
    if (vertex.weights.empty()) {
        const bool parentHasMesh = p >= 0 && bones[static_cast<std::size_t>(p)].mesh >= 0;
        appendWholeWeight(vertex, parentHasMesh ? p : b);
        return;
    }
    float sum = 0.0f;
    bool namesOwnBone = false;
    for (const DocWeight& entry : vertex.weights) {
        sum += entry.weight;
        namesOwnBone = namesOwnBone || entry.bone == b;
    }
    if (sum < 1.0f) {
        addWeight(vertex, (!namesOwnBone || p < 0) ? b : p, 1.0f - sum);
    } else if (sum > 1.0f && vertex.weights.size() >= 2 && namesOwnBone && p >= 0) {
        shiftExcessToParent(vertex, b, p);
    }
}

// Every vertex of every mesh with a bone of its own ends with weights: an
// unskinned mesh follows its bone whole, a skinned one has its gaps filled
// from its bone or that bone's parent.
void completeWeights(SceneDoc& doc) {
    const std::vector<DocBone>& bones = doc.bones;
    const BoneOfNode boneOfNode = firstBoneOfEachNode(bones);
    for (DocMesh& mesh : doc.meshes) {
        if (mesh.host_node == nullptr) {
            continue;
        }
        const auto found = boneOfNode.find(mesh.host_node);
        if (found == boneOfNode.end()) {
            continue;
        }
        const std::int32_t b = found->second;
        if (mesh.weights_flag == 0) {
            for (DocVertex& vertex : mesh.vertices) {
                appendWholeWeight(vertex, b);
            }
            continue;
        }
        const std::int32_t p = validParent(bones[static_cast<std::size_t>(b)].parent,
                                           static_cast<std::size_t>(b), bones.size());
        for (DocVertex& vertex : mesh.vertices) {
            completeSkinnedVertex(vertex, b, p, bones);
        }
    }
}

// normalizeWeights leaves a float sum within a few ulps of 1. The reader
// normalises every vertex again when it loads a file, and a sum that is not
// exactly 1 would scale the weights a second time, so a written vertex would
// not read back as it was. The last (smallest) weight takes up the rounding:
// with p the sum of the others, taken in list order as there, 1 - p is exact
// (p is 0 or lies in [0.5, 1]) and p + (1 - p) is exactly 1. Where that would lift the
// last weight above its neighbour (the two differ by an ulp or so), the
// neighbour is lifted first and the last weight tried again.
void settleSumAtOne(DocWeightList& weights) {
    const DocWeightList::size_type n = weights.size();
    for (int attempt = 0; attempt < 4 && n > 0; ++attempt) {
        float others = 0.0f;
        for (DocWeightList::size_type i = 0; i + 1 < n; ++i) {
            others += weights[i].weight;
        }
        const float last = 1.0f - others;
        if (!(last > 0.0f)) {
            return;
        }
        if (n == 1 || last <= weights[n - 2].weight) {
            weights[n - 1].weight = last;
            return;
        }
        if (n > 2 && last > weights[n - 3].weight) {
            return;
        }
        weights[n - 2].weight = last;
    }
}

// Sorted largest first, stripped of entries that name no bone of the
// document or carry a weight that is tiny or not finite, then normalised.
void finishVertex(DocVertex& vertex, std::size_t boneCount) {
    DocWeightList& weights = vertex.weights;
    if (weights.size() > 1) {
        std::stable_sort(weights.begin(), weights.end(), weightOrder);
    }
    for (DocWeight& entry : weights) {
        if (!normalise::indexIn(entry.bone, boneCount)) {
            entry.bone = -1;
        }
        if (!std::isfinite(entry.weight)) {
            entry.weight = 0.0f;
        }
    }
    pruneWeights(vertex);
    // Weights near the float limit would overflow the sum and normalise to
    // 0; an exact power-of-two step down keeps their proportions.
    float sum = 0.0f;
    for (const DocWeight& entry : weights) {
        sum += entry.weight;
    }
    if (!std::isfinite(sum)) {
        for (DocWeight& entry : weights) {
            entry.weight *= 0x1p-64f;
        }
    }
    normalizeWeights(vertex);
    settleSumAtOne(vertex.weights);
}

} // namespace

void prepareSkinWeights(SceneDoc& doc) {
    for (DocMesh& mesh : doc.meshes) {
        for (DocVertex& vertex : mesh.vertices) {
            averageRepeatedEntries(vertex);
        }
    }
    if (!doc.bones.empty()) {
        try {
            completeWeights(doc);
        } catch (const std::bad_alloc&) {
            // Without room for the look-up the weights stay as gathered; the
            // steps below still leave them sorted and normalised.
        }
    }
    for (DocMesh& mesh : doc.meshes) {
        for (DocVertex& vertex : mesh.vertices) {
            finishVertex(vertex, doc.bones.size());
        }
    }
    normalise::computeBoneTransforms(doc);
}

} // namespace prepare
} // namespace yfx
