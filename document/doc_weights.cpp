#include "document/doc_weights.h"

#include <cmath>
#include <new>

namespace yfx {

namespace {

// Keeps, in order, the entries for which keep() is true; frees the list when
// none is left. Works in place: nothing is allocated.
template <typename Keep> void keepWeights(DocWeightList& weights, Keep keep) {
    DocWeightList::size_type kept = 0;
    for (DocWeightList::size_type i = 0; i < weights.size(); ++i) {
        if (keep(weights[i])) {
            weights[kept++] = weights[i];
        }
    }
    if (kept == 0) {
        weights.release();
    } else {
        weights.truncate(kept);
    }
}

void clearWeights(std::vector<DocVertex>& vertices) {
    for (DocVertex& vertex : vertices) {
        vertex.weights.release();
    }
}

} // namespace

DocWeight* addWeight(DocVertex& vertex, std::int32_t bone, float w) {
    for (DocWeight& entry : vertex.weights) {
        if (entry.bone == bone) {
            entry.weight += w;
            entry.contributions += 1;
            return &entry;
        }
    }
    return appendWeight(vertex, bone, w);
}

DocWeight* appendWeight(DocVertex& vertex, std::int32_t bone, float w) {
    try {
        return &vertex.weights.push_back(DocWeight{bone, w, 1});
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int removeWeight(DocVertex& vertex, std::int32_t bone) {
    bool found = false;
    for (const DocWeight& entry : vertex.weights) {
        if (entry.bone == bone) {
            found = true;
            break;
        }
    }
    if (!found) {
        return 0;
    }
    keepWeights(vertex.weights, [bone](const DocWeight& entry) { return entry.bone != bone; });
    return 1;
}

void pruneWeights(DocVertex& vertex) {
    keepWeights(vertex.weights, [](const DocWeight& entry) {
        return entry.bone >= 0 && !(entry.weight < kMinimumWeight);
    });
}

void normalizeWeights(DocVertex& vertex) {
    float sum = 0.0f;
    for (DocWeight& entry : vertex.weights) {
        if (entry.bone < 0) {
            entry.weight = 0.0f;
        }
        sum += entry.weight;
    }
    if (sum == 1.0f || sum == 0.0f) {
        return;
    }
    const float factor = 1.0f / sum;
    for (DocWeight& entry : vertex.weights) {
        entry.weight *= factor;
    }
}

bool weightOrder(const DocWeight& a, const DocWeight& b) {
    const bool aNaN = std::isnan(a.weight);
    const bool bNaN = std::isnan(b.weight);
    if (aNaN || bNaN) {
        return !aNaN && bNaN;
    }
    return a.weight > b.weight;
}

void clearAllWeights(SceneDoc& doc) {
    clearWeights(doc.vertices);
    for (DocMesh& mesh : doc.meshes) {
        clearWeights(mesh.vertices);
    }
}

void clearMeshWeights(DocMesh& mesh) {
    clearWeights(mesh.vertices);
}

} // namespace yfx
