#include "model/corner_weld.h"

#include <assimp/mesh.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace yfx {
namespace model {

namespace {

constexpr int kWeldUVChannels = 2;

// One round of a multiply-rotate hash: every bit of v reaches many of h.
std::uint64_t mix(std::uint64_t h, std::uint64_t v) {
    h ^= v * 0x87c37b91114253d5ULL;
    h = (h << 31) | (h >> 33);
    return h * 0x4cf5ad432745937fULL;
}

std::uint32_t bits(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

float finite(double v) {
    const float f = float(v);
    return std::isfinite(f) ? f : 0.0f;
}

// What the host keeps of one Assimp vertex.
struct VertexKey {
    float p[3];
    float uv[kWeldUVChannels][2];
    const VertexWeight* w;
    std::uint32_t wn;
};

bool sameKey(const VertexKey& a, const VertexKey& b) {
    if (std::memcmp(a.p, b.p, sizeof a.p) != 0 || std::memcmp(a.uv, b.uv, sizeof a.uv) != 0 ||
        a.wn != b.wn) {
        return false;
    }
    for (std::uint32_t i = 0; i < a.wn; ++i) {
        if (a.w[i].bone != b.w[i].bone || bits(a.w[i].weight) != bits(b.w[i].weight)) {
            return false;
        }
    }
    return true;
}

std::uint64_t hashOf(const VertexKey& k) {
    std::uint64_t h = 0;
    for (float f : k.p) {
        h = mix(h, bits(f));
    }
    for (const auto& uv : k.uv) {
        h = mix(mix(h, bits(uv[0])), bits(uv[1]));
    }
    for (std::uint32_t i = 0; i < k.wn; ++i) {
        h = mix(mix(h, std::uint64_t(std::uint32_t(k.w[i].bone))), bits(k.w[i].weight));
    }
    // Spread every bit into the low ones the table is indexed by.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

// Whether some value occurs twice: pairwise for a few, else by sorting a copy.
bool repeats(const std::vector<unsigned>& values, std::vector<unsigned>& scratch) {
    if (values.size() <= 4) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            for (std::size_t j = i + 1; j < values.size(); ++j) {
                if (values[i] == values[j]) {
                    return true;
                }
            }
        }
        return false;
    }
    scratch.assign(values.begin(), values.end());
    std::sort(scratch.begin(), scratch.end());
    return std::adjacent_find(scratch.begin(), scratch.end()) != scratch.end();
}

// For every vertex (numbered across the parts), the first vertex with the
// same key; `joined` tells whether any two vertices have the same key.
std::vector<unsigned> sameKeyClasses(const std::vector<VertexKey>& keys, bool& joined) {
    joined = false;
    // Open addressing, at most half full; each slot holds a vertex number in
    // its low half and the top of its key's hash in the high half, so that a
    // slot of another key is passed over without reading that key.
    constexpr std::uint64_t kEmpty = ~std::uint64_t(0);
    std::size_t capacity = 16;
    while (capacity < 2 * keys.size()) {
        capacity *= 2;
    }
    std::vector<std::uint64_t> table(capacity, kEmpty);
    std::vector<unsigned> classOf(keys.size());
    for (std::size_t g = 0; g < keys.size(); ++g) {
        const std::uint64_t h = hashOf(keys[g]);
        const std::uint64_t tag = h & 0xffffffff00000000ULL;
        std::size_t at = std::size_t(h) & (capacity - 1);
        for (;; at = (at + 1) & (capacity - 1)) {
            const std::uint64_t slot = table[at];
            if (slot == kEmpty) {
                table[at] = tag | g;
                classOf[g] = unsigned(g);
                break;
            }
            const unsigned other = unsigned(slot & 0xffffffffu);
            if ((slot & 0xffffffff00000000ULL) == tag && sameKey(keys[other], keys[g])) {
                classOf[g] = other;
                joined = true;
                break;
            }
        }
    }
    return classOf;
}

} // namespace

FaceCorners faceCorners(const aiFace& face, std::size_t vertices, std::vector<unsigned>& corners,
                        std::vector<unsigned>& scratch) {
    corners.clear();
    if (face.mNumIndices < 3 || face.mIndices == nullptr) {
        return FaceCorners::PointOrLine;
    }
    for (unsigned c = 0; c < face.mNumIndices; ++c) {
        const unsigned v = face.mIndices[c];
        if (v >= vertices) {
            return FaceCorners::Broken;
        }
        if (corners.empty() || corners.back() != v) {
            corners.push_back(v);
        }
    }
    while (corners.size() > 1 && corners.back() == corners.front()) {
        corners.pop_back();
    }
    return corners.size() < 3 || repeats(corners, scratch) ? FaceCorners::Repeats
                                                           : FaceCorners::Polygon;
}

std::array<float, 2> hostUV(const MeshPart& part, int k, std::size_t v) {
    const aiVector3D* uv =
        k >= 0 && k < AI_MAX_NUMBER_OF_TEXTURECOORDS ? part.mesh->mTextureCoords[k] : nullptr;
    if (uv == nullptr || v >= part.mesh->mNumVertices) {
        return {0.0f, 0.0f};
    }
    return {std::isfinite(uv[v].x) ? uv[v].x : 0.0f, std::isfinite(uv[v].y) ? uv[v].y : 0.0f};
}

WeldedVertices weldCorners(const std::vector<MeshPart>& parts, int uvChannels) {
    uvChannels = std::min(uvChannels, kWeldUVChannels);
    std::vector<std::size_t> first(parts.size() + 1, 0);
    for (std::size_t pi = 0; pi < parts.size(); ++pi) {
        first[pi + 1] = first[pi] + parts[pi].positions.size();
    }
    std::vector<VertexKey> keys(first.back());
    for (std::size_t pi = 0; pi < parts.size(); ++pi) {
        const MeshPart& part = parts[pi];
        const bool hasWeights = part.weightStart.size() == part.positions.size() + 1;
        for (std::size_t v = 0; v < part.positions.size(); ++v) {
            VertexKey& key = keys[first[pi] + v];
            key.p[0] = finite(part.positions[v].x);
            key.p[1] = finite(part.positions[v].y);
            key.p[2] = finite(part.positions[v].z);
            // The UVs the host stores for the vertex, in the channels it keeps.
            for (int k = 0; k < kWeldUVChannels; ++k) {
                const std::array<float, 2> uv =
                    k < uvChannels ? hostUV(part, k, v) : std::array<float, 2>{0.0f, 0.0f};
                key.uv[k][0] = uv[0];
                key.uv[k][1] = uv[1];
            }
            key.w = hasWeights ? part.weights.data() + part.weightStart[v] : nullptr;
            key.wn = hasWeights ? part.weightStart[v + 1] - part.weightStart[v] : 0;
        }
    }
    bool joined = false;
    const std::vector<unsigned> classOf = sameKeyClasses(keys, joined);

    // A face whose distinct vertices fall into one class keeps its own
    // (nothing to look for when no two vertices are joined).
    std::vector<char> own(keys.size(), 0);
    std::vector<unsigned> corners, classes, scratch;
    for (std::size_t pi = 0; joined && pi < parts.size(); ++pi) {
        const aiMesh& m = *parts[pi].mesh;
        for (unsigned f = 0; m.mFaces != nullptr && f < m.mNumFaces; ++f) {
            if (faceCorners(m.mFaces[f], parts[pi].positions.size(), corners, scratch) !=
                FaceCorners::Polygon) {
                continue;
            }
            classes.clear();
            for (unsigned c : corners) {
                classes.push_back(classOf[first[pi] + c]);
            }
            if (repeats(classes, scratch)) {
                for (unsigned c : corners) {
                    own[first[pi] + c] = 1;
                }
            }
        }
    }

    WeldedVertices out;
    out.hostOf.resize(parts.size());
    out.positions.reserve(keys.size());
    out.source.reserve(keys.size());
    std::vector<int> hostOfClass(keys.size(), -1);
    for (std::size_t pi = 0; pi < parts.size(); ++pi) {
        out.hostOf[pi].resize(parts[pi].positions.size());
        for (std::size_t v = 0; v < parts[pi].positions.size(); ++v) {
            const std::size_t g = first[pi] + v;
            int& shared = hostOfClass[classOf[g]];
            if (own[g] == 0 && shared >= 0) {
                out.hostOf[pi][v] = shared;
                continue;
            }
            const int host = int(out.source.size());
            out.source.emplace_back(int(pi), int(v));
            out.positions.push_back({keys[g].p[0], keys[g].p[1], keys[g].p[2]});
            out.hostOf[pi][v] = host;
            if (own[g] == 0) {
                shared = host;
            }
        }
    }
    return out;
}

} // namespace model
} // namespace yfx
