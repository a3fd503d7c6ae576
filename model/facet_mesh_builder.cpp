#include "model/facet_mesh_builder.h"

#include "model/polygon_split.h"

#include <assimp/mesh.h>

#include <dzfacetmesh.h>
#include <dzvertexmap.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace yfx {
namespace model {

namespace {

constexpr int kHostUVSets = 2;

std::uint64_t mix(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
}

std::uint32_t bits(float f) {
    std::uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    return b;
}

struct HostVertex {
    float p[3];
    const VertexWeight* w;
    std::uint32_t wn;
};

bool sameVertex(const HostVertex& a, const HostVertex& b) {
    if (std::memcmp(a.p, b.p, sizeof a.p) != 0 || a.wn != b.wn) {
        return false;
    }
    for (std::uint32_t i = 0; i < a.wn; ++i) {
        if (a.w[i].bone != b.w[i].bone || bits(a.w[i].weight) != bits(b.w[i].weight)) {
            return false;
        }
    }
    return true;
}

std::uint64_t hashOf(const HostVertex& v) {
    std::uint64_t h = mix(mix(mix(0, bits(v.p[0])), bits(v.p[1])), bits(v.p[2]));
    for (std::uint32_t i = 0; i < v.wn; ++i) {
        h = mix(mix(h, std::uint64_t(std::uint32_t(v.w[i].bone))), bits(v.w[i].weight));
    }
    // Spread every bit into the low ones the table is indexed by.
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return h;
}

float finite(double v) {
    const float f = float(v);
    return std::isfinite(f) ? f : 0.0f;
}

// Joins the parts' vertices into host vertices; per part, the host index of
// each Assimp vertex.
std::vector<std::vector<int>> weldVertices(const std::vector<MeshPart>& parts, DzFacetMesh& mesh,
                                           BuiltGeometry& out) {
    std::size_t total = 0;
    for (const MeshPart& part : parts) {
        total += part.positions.size();
    }
    std::vector<HostVertex> hostVertices;
    hostVertices.reserve(total);
    // Open addressing over host vertex numbers, at most half full.
    std::size_t capacity = 16;
    while (capacity < 2 * total) {
        capacity *= 2;
    }
    std::vector<int> table(capacity, -1);
    std::vector<std::vector<int>> hostOf(parts.size());
    const bool weighted = [&] {
        for (const MeshPart& part : parts) {
            if (!part.weightStart.empty()) {
                return true;
            }
        }
        return false;
    }();
    for (std::size_t pi = 0; pi < parts.size(); ++pi) {
        const MeshPart& part = parts[pi];
        std::vector<int>& map = hostOf[pi];
        map.resize(part.positions.size());
        const bool hasWeights = part.weightStart.size() == part.positions.size() + 1;
        for (std::size_t v = 0; v < part.positions.size(); ++v) {
            HostVertex hv;
            hv.p[0] = finite(part.positions[v].x);
            hv.p[1] = finite(part.positions[v].y);
            hv.p[2] = finite(part.positions[v].z);
            hv.w = hasWeights ? part.weights.data() + part.weightStart[v] : nullptr;
            hv.wn = hasWeights ? part.weightStart[v + 1] - part.weightStart[v] : 0;
            std::size_t at = std::size_t(hashOf(hv)) & (capacity - 1);
            while (table[at] >= 0 && !sameVertex(hostVertices[std::size_t(table[at])], hv)) {
                at = (at + 1) & (capacity - 1);
            }
            if (table[at] < 0) {
                table[at] = int(hostVertices.size());
                hostVertices.push_back(hv);
            }
            map[v] = table[at];
        }
    }
    mesh.preSizeVertexArray(int(hostVertices.size()));
    for (const HostVertex& hv : hostVertices) {
        mesh.addVertex(hv.p[0], hv.p[1], hv.p[2]);
    }
    if (weighted) {
        out.weightStart.reserve(hostVertices.size() + 1);
        out.weightStart.push_back(0);
        for (const HostVertex& hv : hostVertices) {
            out.weights.insert(out.weights.end(), hv.w, hv.w + hv.wn);
            out.weightStart.push_back(std::uint32_t(out.weights.size()));
        }
    }
    return hostOf;
}

int uvChannelsOf(const aiMesh& m) {
    int n = 0;
    for (int k = 0; k < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++k) {
        if (m.mTextureCoords[k] != nullptr) {
            n = k + 1;
        }
    }
    return n;
}

std::string channelName(const aiMesh& m, int k) {
    const aiString* name = m.GetTextureCoordsName(unsigned(k));
    return name != nullptr && name->length > 0 ? std::string(name->C_Str()) : format("UV%d", k);
}

// UV set k: one value per Assimp vertex of every part, (0, 0) for a part
// without that channel.
DzUVSet* makeUVSet(const std::vector<MeshPart>& parts, int k) {
    auto* set = new DzUVSet();
    std::size_t total = 0;
    for (const MeshPart& part : parts) {
        total += part.positions.size();
    }
    set->preSize(int(total));
    std::vector<float> values; // u, v pairs
    for (const MeshPart& part : parts) {
        const aiVector3D* uv = part.mesh->mTextureCoords[k];
        values.assign(2 * part.positions.size(), 0.0f);
        for (std::size_t v = 0; uv != nullptr && v < part.positions.size(); ++v) {
            values[2 * v] = std::isfinite(uv[v].x) ? uv[v].x : 0.0f;
            values[2 * v + 1] = std::isfinite(uv[v].y) ? uv[v].y : 0.0f;
        }
        if (!values.empty()) {
            set->appendPnt2Values(int(part.positions.size()),
                                  reinterpret_cast<const DzPnt2*>(values.data()));
        }
    }
    set->setLabel(QString::fromStdString(channelName(*parts.front().mesh, k)));
    return set;
}

struct FaceCounts {
    std::size_t pointsAndLines = 0;
    std::size_t broken = 0;
    std::size_t split = 0;
};

void addFaces(const std::vector<MeshPart>& parts, const std::vector<std::vector<int>>& hostOf,
              bool withUVs, DzFacetMesh& mesh, FaceCounts& counts) {
    std::size_t facets = 0;
    for (const MeshPart& part : parts) {
        facets += part.mesh->mNumFaces;
    }
    mesh.preSizeFacets(int(std::min<std::size_t>(facets, 0x7fffffff)));
    std::vector<Vec3> corners;
    std::vector<std::array<int, 3>> triangles;
    int uvBase = 0;
    for (std::size_t pi = 0; pi < parts.size(); ++pi) {
        const aiMesh& m = *parts[pi].mesh;
        const std::vector<int>& host = hostOf[pi];
        mesh.activateMaterial(parts[pi].materialSlot);
        for (unsigned f = 0; m.mFaces != nullptr && f < m.mNumFaces; ++f) {
            const aiFace& face = m.mFaces[f];
            if (face.mNumIndices < 3 || face.mIndices == nullptr) {
                ++counts.pointsAndLines;
                continue;
            }
            bool inRange = true;
            for (unsigned c = 0; c < face.mNumIndices && inRange; ++c) {
                inRange = face.mIndices[c] < host.size();
            }
            if (!inRange) {
                ++counts.broken;
                continue;
            }
            auto add = [&](const unsigned* idx, int n) {
                int v[4] = {-1, -1, -1, -1}, uv[4] = {-1, -1, -1, -1};
                for (int c = 0; c < n; ++c) {
                    v[c] = host[idx[c]];
                    uv[c] = withUVs ? uvBase + int(idx[c]) : -1;
                }
                mesh.addFacet(v, uv, 0);
            };
            if (face.mNumIndices <= 4) {
                add(face.mIndices, int(face.mNumIndices));
                continue;
            }
            ++counts.split;
            corners.clear();
            for (unsigned c = 0; c < face.mNumIndices; ++c) {
                corners.push_back(parts[pi].positions[face.mIndices[c]]);
            }
            triangles.clear();
            splitPolygon(corners, triangles);
            for (const auto& t : triangles) {
                const unsigned idx[3] = {face.mIndices[t[0]], face.mIndices[t[1]],
                                         face.mIndices[t[2]]};
                add(idx, 3);
            }
        }
        uvBase += int(parts[pi].positions.size());
    }
}

void noteLosses(const std::vector<MeshPart>& parts, const std::string& name, int uvChannels,
                const FaceCounts& counts, ModelNotes& notes) {
    bool colours = false, normals = false;
    unsigned morphs = 0;
    for (const MeshPart& part : parts) {
        colours = colours || part.mesh->mColors[0] != nullptr;
        normals = normals || part.mesh->mNormals != nullptr;
        morphs += part.mesh->mAnimMeshes != nullptr ? part.mesh->mNumAnimMeshes : 0;
    }
    for (int k = kHostUVSets; k < uvChannels; ++k) {
        notes.drop(format("mesh '%s': UV channel %d ('%s'): the host keeps two UV sets",
                          name.c_str(), k, channelName(*parts.front().mesh, k).c_str()));
    }
    if (colours) {
        notes.drop(format("mesh '%s': vertex colours: host meshes carry none", name.c_str()));
    }
    if (normals) {
        notes.drop(
            format("mesh '%s': the file's normals: the host computes its own", name.c_str()));
    }
    if (morphs > 0) {
        notes.drop(format("mesh '%s': %u morph targets: the host scene holds no morphs",
                          name.c_str(), morphs));
    }
    if (counts.pointsAndLines > 0) {
        notes.drop(format("mesh '%s': %zu points and lines: host meshes hold polygons only",
                          name.c_str(), counts.pointsAndLines));
    }
    if (counts.broken > 0) {
        notes.drop(format("mesh '%s': %zu faces naming vertices the mesh does not have",
                          name.c_str(), counts.broken));
    }
    if (counts.split > 0) {
        notes.apply(format("mesh '%s': %zu polygons of more than four corners split into "
                           "triangles",
                           name.c_str(), counts.split));
    }
}

} // namespace

BuiltGeometry buildFacetMesh(const std::vector<MeshPart>& parts, const std::string& name,
                             ModelNotes& notes) {
    BuiltGeometry out;
    out.mesh = std::make_unique<DzFacetMesh>();
    if (parts.empty()) {
        return out;
    }
    DzFacetMesh& mesh = *out.mesh;
    mesh.beginEdit(false);
    const std::vector<std::vector<int>> hostOf = weldVertices(parts, mesh, out);

    int uvChannels = 0;
    for (const MeshPart& part : parts) {
        uvChannels = std::max(uvChannels, uvChannelsOf(*part.mesh));
    }
    out.uvSets = std::min(uvChannels, kHostUVSets);
    for (int k = 0; k < out.uvSets; ++k) {
        DzUVSet* set = makeUVSet(parts, k);
        mesh.addUVSet(set);
        if (k == 0) {
            mesh.setUVList(set);
        }
    }
    FaceCounts counts;
    addFaces(parts, hostOf, out.uvSets > 0, mesh, counts);
    mesh.finishEdit();
    noteLosses(parts, name, uvChannels, counts, notes);
    return out;
}

} // namespace model
} // namespace yfx
