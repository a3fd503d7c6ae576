#include "model/writer_meshes.h"

#include "model/writer_materials.h"

#include <assimp/scene.h>

#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfigure.h>
#include <dzmap.h>
#include <dzmaterial.h>
#include <dzobject.h>
#include <dzselectionmap.h>
#include <dzskinbinding.h>
#include <dzvertexmap.h>
#include <dzweightmap.h>

#include <map>
#include <memory>
#include <unordered_map>

namespace yfx {
namespace model {

namespace {

constexpr float kWholeWeight = 1.0f - 1e-4f;

struct UVSource {
    const DzPnt2* points = nullptr;
    int count = 0;
};

UVSource uvSource(const DzMap* map) {
    UVSource s;
    if (map != nullptr && map->getType() == DzMap::FLOAT2_MAP) {
        s.points = map->getPnt2ArrayPtr();
        s.count = s.points != nullptr ? map->getNumValues() : 0;
    }
    return s;
}

aiVector3D uvAt(const UVSource& s, int index) {
    return index >= 0 && index < s.count ? aiVector3D(s.points[index][0], s.points[index][1], 0)
                                         : aiVector3D(0, 0, 0);
}

// One Assimp mesh's making: its vertices by host vertex and UV index.
struct MeshBuild {
    std::unordered_map<std::uint64_t, unsigned> vertexOf;
    std::vector<int> hostVertex; // per Assimp vertex
    std::vector<int> uvIndex;
    std::vector<std::array<int, 5>> faces; // corner count, then up to four vertices
};

struct ShapeBuild {
    std::map<int, MeshBuild> byMaterial; // facet material index -> mesh
    std::size_t skipped = 0;
};

ShapeBuild groupFacets(const DzFacetMesh& mesh) {
    ShapeBuild build;
    const int vertices = mesh.getNumVertices();
    const DzFacet* facets = mesh.getFacetsPtr();
    for (int f = 0; facets != nullptr && f < mesh.getNumFacets(); ++f) {
        const DzFacet& facet = facets[f];
        const int corners = facet.m_vertIdx[3] < 0 ? 3 : 4;
        bool valid = true;
        for (int c = 0; c < corners; ++c) {
            valid = valid && facet.m_vertIdx[c] >= 0 && facet.m_vertIdx[c] < vertices;
        }
        if (!valid) {
            ++build.skipped;
            continue;
        }
        MeshBuild& m = build.byMaterial[facet.m_materialIdx];
        std::array<int, 5> face = {corners, -1, -1, -1, -1};
        for (int c = 0; c < corners; ++c) {
            const std::uint64_t key = (std::uint64_t(std::uint32_t(facet.m_vertIdx[c])) << 32) |
                                      std::uint32_t(facet.m_uvwIdx[c]);
            const auto found = m.vertexOf.emplace(key, unsigned(m.hostVertex.size()));
            if (found.second) {
                m.hostVertex.push_back(facet.m_vertIdx[c]);
                m.uvIndex.push_back(facet.m_uvwIdx[c]);
            }
            face[std::size_t(c) + 1] = int(found.first->second);
        }
        m.faces.push_back(face);
    }
    return build;
}

aiMesh* makeAiMesh(const MeshBuild& build, const DzFacetMesh& mesh, const Mat4& toMeshSpace,
                   const SpaceConversion& toModel, const std::string& name) {
    auto* out = new aiMesh();
    out->mName = aiString(name);
    const unsigned n = unsigned(build.hostVertex.size());
    out->mNumVertices = n;
    out->mVertices = new aiVector3D[n];
    const DzPnt3* points = mesh.getVerticesPtr();
    for (unsigned v = 0; v < n; ++v) {
        const DzPnt3& p = points[build.hostVertex[v]];
        out->mVertices[v] = toFloat(toModel.point(toMeshSpace * Vec3(p[0], p[1], p[2])));
    }
    const UVSource sets[2] = {uvSource(mesh.getNumUVSets() > 0 ? mesh.getUVSet(0) : mesh.getUVs()),
                              uvSource(mesh.getNumUVSets() > 1 ? mesh.getUVSet(1) : nullptr)};
    for (int k = 0; k < 2; ++k) {
        if (sets[k].points == nullptr) {
            continue;
        }
        out->mNumUVComponents[k] = 2;
        out->mTextureCoords[k] = new aiVector3D[n];
        for (unsigned v = 0; v < n; ++v) {
            out->mTextureCoords[k][v] = uvAt(sets[k], build.uvIndex[v]);
        }
    }
    out->mNumFaces = unsigned(build.faces.size());
    out->mFaces = new aiFace[build.faces.size()];
    for (std::size_t f = 0; f < build.faces.size(); ++f) {
        const auto& face = build.faces[f];
        aiFace& a = out->mFaces[f];
        a.mNumIndices = unsigned(face[0]);
        a.mIndices = new unsigned[std::size_t(face[0])];
        for (int c = 0; c < face[0]; ++c) {
            a.mIndices[c] = unsigned(face[std::size_t(c) + 1]);
        }
        out->mPrimitiveTypes |= face[0] == 3 ? aiPrimitiveType_TRIANGLE : aiPrimitiveType_POLYGON;
    }
    return out;
}

// Every vertex's place in the Assimp meshes of one shape.
struct Placements {
    std::vector<std::uint32_t> start;              // per host vertex + 1
    std::vector<std::pair<unsigned, unsigned>> at; // (mesh in the shape, Assimp vertex)
};

Placements placementsOf(const std::vector<const MeshBuild*>& builds, int hostVertices) {
    Placements p;
    p.start.assign(std::size_t(hostVertices) + 1, 0);
    for (const MeshBuild* b : builds) {
        for (int h : b->hostVertex) {
            ++p.start[std::size_t(h) + 1];
        }
    }
    for (std::size_t i = 1; i < p.start.size(); ++i) {
        p.start[i] += p.start[i - 1];
    }
    p.at.resize(p.start.back());
    std::vector<std::uint32_t> fill(p.start.begin(), p.start.end() - 1);
    for (unsigned m = 0; m < builds.size(); ++m) {
        for (unsigned v = 0; v < builds[m]->hostVertex.size(); ++v) {
            p.at[fill[std::size_t(builds[m]->hostVertex[v])]++] = {m, v};
        }
    }
    return p;
}

// The bones of a figure's meshes: per Assimp mesh of the shape, per node of
// the tree, its weights.
void addSkin(const WriterTree& tree, int figureIndex, DzSkinBinding& skin,
             const std::vector<const MeshBuild*>& builds, const std::vector<aiMesh*>& meshes,
             int hostVertices, const SpaceConversion& toModel, ModelNotes& notes) {
    const Placements placements = placementsOf(builds, hostVertices);
    std::vector<std::map<int, std::vector<aiVertexWeight>>> weights(meshes.size());
    std::vector<float> total(std::size_t(hostVertices), 0.0f);
    for (int b = 0; b < skin.getNumBoneBindings(); ++b) {
        const DzBoneBinding* binding = skin.getBoneBinding(b);
        const int bone = binding != nullptr ? tree.find(binding->getBone()) : -1;
        if (bone < 0) {
            notes.drop(format("skin of '%s': a bone binding whose bone is not in the scene",
                              tree.nodes[std::size_t(figureIndex)].name.c_str()));
            continue;
        }
        std::unique_ptr<DzWeightMap> averaged;
        const DzWeightMap* map = binding->getWeights();
        if (map == nullptr) {
            averaged.reset(binding->createAveragedGeneralMap());
            map = averaged.get();
        }
        if (map == nullptr) {
            continue;
        }
        const unsigned short* raw = map->getWeights();
        const int count = std::min(map->getNumWeights(), hostVertices);
        for (int h = 0; raw != nullptr && h < count; ++h) {
            if (raw[h] == 0) {
                continue;
            }
            const float w = DzWeightMap::weightToFloat(raw[h]);
            total[std::size_t(h)] += w;
            for (std::uint32_t i = placements.start[std::size_t(h)];
                 i < placements.start[std::size_t(h) + 1]; ++i) {
                weights[placements.at[i].first][bone].push_back({placements.at[i].second, w});
            }
        }
    }
    // Assimp's skinning scales a vertex by its weights' sum where the host's
    // moves it by their blend: a sum above 1 (the host's 16-bit weights
    // rounded up) is scaled back to 1.
    for (std::size_t m = 0; m < weights.size(); ++m) {
        for (auto& entry : weights[m]) {
            for (aiVertexWeight& w : entry.second) {
                const float sum = total[std::size_t(builds[m]->hostVertex[w.mVertexId])];
                if (sum > 1.0f) {
                    w.mWeight /= sum;
                }
            }
        }
    }
    for (int h = 0; h < hostVertices; ++h) {
        if (total[std::size_t(h)] >= kWholeWeight) {
            continue;
        }
        const float rest = 1.0f - total[std::size_t(h)];
        for (std::uint32_t i = placements.start[std::size_t(h)];
             i < placements.start[std::size_t(h) + 1]; ++i) {
            weights[placements.at[i].first][figureIndex].push_back({placements.at[i].second, rest});
        }
    }
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        if (weights[m].empty()) {
            continue;
        }
        aiMesh& mesh = *meshes[m];
        mesh.mNumBones = unsigned(weights[m].size());
        mesh.mBones = new aiBone*[weights[m].size()];
        unsigned k = 0;
        for (auto& entry : weights[m]) {
            auto* bone = new aiBone();
            const WriterNode& node = tree.nodes[std::size_t(entry.first)];
            bone->mName = aiString(node.name);
            bone->mOffsetMatrix = toFloat(toModel.transform(safeInverse(node.restFrame)));
            bone->mNumWeights = unsigned(entry.second.size());
            bone->mWeights = new aiVertexWeight[entry.second.size()];
            std::copy(entry.second.begin(), entry.second.end(), bone->mWeights);
            mesh.mBones[k++] = bone;
        }
    }
}

} // namespace

void writeMeshes(WriterTree& tree, const SpaceConversion& toModel, const QString& outputFolder,
                 WrittenMeshes& out, ModelNotes& notes) {
    std::map<const DzMaterial*, unsigned> materialIndex;
    for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
        WriterNode& node = tree.nodes[i];
        const DzObject* object = node.host->getObject();
        const DzShape* shape = object != nullptr ? object->getCurrentShape() : nullptr;
        const auto* facetShape = qobject_cast<const DzFacetShape*>(shape);
        const DzFacetMesh* mesh = facetShape != nullptr ? facetShape->getFacetMesh() : nullptr;
        if (mesh == nullptr || mesh->getNumFacets() == 0) {
            continue;
        }
        auto* figure = qobject_cast<DzFigure*>(node.host);
        DzSkinBinding* skin = figure != nullptr ? figure->getSkinBinding() : nullptr;
        const bool skinned = skin != nullptr && skin->getNumBoneBindings() > 0;
        // A figure's skin binds rest-space vertices; a plain node's geometry
        // sits at rest and moves with the node, so its own frame holds it.
        const Mat4 toMeshSpace = skinned ? Mat4() : safeInverse(node.restFrame);

        if (mesh->getNumFaceGroups() > 1) {
            notes.dropFor("face groups", node.name, "the model formats hold none");
        }
        if (node.host->getSelectionMap() != nullptr) {
            notes.dropFor("the selection map (face groups to bones)", node.name,
                          "the model formats hold none");
        }
        const ShapeBuild build = groupFacets(*mesh);
        if (build.skipped > 0) {
            notes.drop(format("mesh of '%s': %zu facets naming vertices it does not have",
                              node.name.c_str(), build.skipped));
        }
        std::vector<aiMesh*> made;
        std::vector<const MeshBuild*> builds;
        std::vector<unsigned> indices;
        for (const auto& entry : build.byMaterial) {
            const DzMaterial* material = shape->getMaterial(entry.first);
            unsigned materialSlot = 0;
            if (material == nullptr) {
                materialSlot = unsigned(out.materials.size());
                out.materials.push_back(defaultAiMaterial());
            } else if (!materialIndex.count(material)) {
                materialSlot = unsigned(out.materials.size());
                materialIndex.emplace(material, materialSlot);
                out.materials.push_back(makeAiMaterial(*material, outputFolder, notes));
            } else {
                materialSlot = materialIndex[material];
            }
            const std::string name =
                build.byMaterial.size() == 1 ? node.name : node.name + format("_%zu", made.size());
            aiMesh* m = makeAiMesh(entry.second, *mesh, toMeshSpace, toModel, name);
            m->mMaterialIndex = materialSlot;
            indices.push_back(unsigned(out.meshes.size()));
            out.meshes.push_back(m);
            made.push_back(m);
            builds.push_back(&entry.second);
        }
        if (skinned) {
            addSkin(tree, int(i), *skin, builds, made, mesh->getNumVertices(), toModel, notes);
        }
        node.node->mNumMeshes = unsigned(indices.size());
        node.node->mMeshes = new unsigned[indices.size()];
        std::copy(indices.begin(), indices.end(), node.node->mMeshes);
    }
}

} // namespace model
} // namespace yfx
