#include "model/facet_mesh_builder.h"

#include "model/corner_weld.h"
#include "model/polygon_split.h"

#include <assimp/mesh.h>

#include <dzfacetmesh.h>
#include <dzvertexmap.h>

#include <algorithm>
#include <array>

namespace yfx {
namespace model {

namespace {

constexpr int kHostUVSets = 2;

// The welded vertices into the mesh, with their weights into `out`.
void addVertices(const std::vector<MeshPart>& parts, const WeldedVertices& welded,
                 DzFacetMesh& mesh, BuiltGeometry& out) {
    mesh.preSizeVertexArray(int(welded.positions.size()));
    for (const auto& p : welded.positions) {
        mesh.addVertex(p[0], p[1], p[2]);
    }
    const bool weighted = std::any_of(
        parts.begin(), parts.end(), [](const MeshPart& part) { return !part.weightStart.empty(); });
    if (!weighted) {
        return;
    }
    out.weightStart.reserve(welded.source.size() + 1);
    out.weightStart.push_back(0);
    for (const auto& from : welded.source) {
        const MeshPart& part = parts[std::size_t(from.first)];
        const std::size_t v = std::size_t(from.second);
        if (part.weightStart.size() == part.positions.size() + 1) {
            out.weights.insert(out.weights.end(), part.weights.begin() + part.weightStart[v],
                               part.weights.begin() + part.weightStart[v + 1]);
        }
        out.weightStart.push_back(std::uint32_t(out.weights.size()));
    }
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
        values.resize(2 * part.positions.size());
        for (std::size_t v = 0; v < part.positions.size(); ++v) {
            const std::array<float, 2> uv = hostUV(part, k, v);
            values[2 * v] = uv[0];
            values[2 * v + 1] = uv[1];
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
    std::size_t repeats = 0;
    std::size_t split = 0;
    int kept = 0;
};

void addFaces(const std::vector<MeshPart>& parts, const std::vector<std::vector<int>>& hostOf,
              bool withUVs, DzFacetMesh& mesh, FaceCounts& counts) {
    std::size_t facets = 0;
    for (const MeshPart& part : parts) {
        facets += part.mesh->mNumFaces;
    }
    mesh.preSizeFacets(int(std::min<std::size_t>(facets, 0x7fffffff)));
    std::vector<unsigned> corners, scratch;
    std::vector<Vec3> outline;
    std::vector<std::array<int, 3>> triangles;
    int uvBase = 0;
    for (std::size_t pi = 0; pi < parts.size(); ++pi) {
        const aiMesh& m = *parts[pi].mesh;
        const std::vector<int>& host = hostOf[pi];
        mesh.activateMaterial(parts[pi].materialSlot);
        for (unsigned f = 0; m.mFaces != nullptr && f < m.mNumFaces; ++f) {
            switch (faceCorners(m.mFaces[f], host.size(), corners, scratch)) {
            case FaceCorners::PointOrLine:
                ++counts.pointsAndLines;
                continue;
            case FaceCorners::Broken:
                ++counts.broken;
                continue;
            case FaceCorners::Repeats:
                ++counts.repeats;
                continue;
            case FaceCorners::Polygon:
                break;
            }
            ++counts.kept;
            auto add = [&](const unsigned* idx, int n) {
                int v[4] = {-1, -1, -1, -1}, uv[4] = {-1, -1, -1, -1};
                for (int c = 0; c < n; ++c) {
                    v[c] = host[idx[c]];
                    uv[c] = withUVs ? uvBase + int(idx[c]) : -1;
                }
                mesh.addFacet(v, uv, 0);
            };
            if (corners.size() <= 4) {
                add(corners.data(), int(corners.size()));
                continue;
            }
            ++counts.split;
            outline.clear();
            for (unsigned c : corners) {
                outline.push_back(parts[pi].positions[c]);
            }
            triangles.clear();
            splitPolygon(outline, triangles);
            for (const auto& t : triangles) {
                const unsigned idx[3] = {corners[std::size_t(t[0])], corners[std::size_t(t[1])],
                                         corners[std::size_t(t[2])]};
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
    if (counts.repeats > 0) {
        notes.drop(format("mesh '%s': %zu faces that name one vertex at two corners: a host "
                          "polygon's corners are distinct vertices",
                          name.c_str(), counts.repeats));
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
    int uvChannels = 0;
    for (const MeshPart& part : parts) {
        uvChannels = std::max(uvChannels, uvChannelsOf(*part.mesh));
    }
    out.uvSets = std::min(uvChannels, kHostUVSets);
    const WeldedVertices welded = weldCorners(parts, out.uvSets);
    addVertices(parts, welded, mesh, out);
    for (int k = 0; k < out.uvSets; ++k) {
        DzUVSet* set = makeUVSet(parts, k);
        mesh.addUVSet(set);
        if (k == 0) {
            mesh.setUVList(set);
        }
    }
    FaceCounts counts;
    addFaces(parts, welded.hostOf, out.uvSets > 0, mesh, counts);
    mesh.finishEdit();
    out.kept.faces = counts.kept;
    out.kept.facets = mesh.getNumFacets();
    noteLosses(parts, name, uvChannels, counts, notes);
    return out;
}

} // namespace model
} // namespace yfx
