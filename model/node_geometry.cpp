#include "model/node_geometry.h"

#include "model/shape_builder.h"

#include <assimp/scene.h>

#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzfacetmesh.h>
#include <dzfigure.h>
#include <dzobject.h>
#include <dzskinbinding.h>
#include <dzweightmap.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace yfx {
namespace model {

namespace {

MeshPart plainPart(const aiMesh& mesh, const SpaceConversion& space) {
    MeshPart part;
    part.mesh = &mesh;
    part.positions.resize(mesh.mVertices != nullptr ? mesh.mNumVertices : 0);
    for (std::size_t v = 0; v < part.positions.size(); ++v) {
        part.positions[v] = space.point(toDouble(mesh.mVertices[v]));
    }
    return part;
}

struct WeightCounts {
    std::size_t outOfRange = 0;
    std::size_t negative = 0;
    std::size_t aboveOne = 0;
};

// A skinned part: weights per vertex by bone slot (sorted, each bone once),
// positions carried to the figure's rest space.
MeshPart skinnedPart(const GeometryInputs& in, unsigned meshIndex,
                     const std::unordered_map<int, int>& slotOfNode, WeightCounts& counts) {
    const aiMesh& mesh = *in.scene.mMeshes[meshIndex];
    MeshPart part = plainPart(mesh, in.space);
    const std::size_t n = part.positions.size();
    const std::vector<int>& boneNodes = in.skeletons.boneNodes[meshIndex];
    struct Influence {
        int slot;
        const Mat4* carry; // bind pose * offset
    };
    std::vector<Influence> influences(boneNodes.size(), Influence{-1, nullptr});
    std::vector<Mat4> carries(boneNodes.size());
    std::vector<std::uint32_t> count(n + 1, 0);
    for (std::size_t b = 0; b < boneNodes.size(); ++b) {
        const aiBone* bone = mesh.mBones[b];
        const auto slot = boneNodes[b] >= 0 ? slotOfNode.find(boneNodes[b]) : slotOfNode.end();
        if (bone == nullptr || slot == slotOfNode.end()) {
            continue;
        }
        carries[b] = in.binds.world[std::size_t(boneNodes[b])] *
                     in.space.transform(toDouble(bone->mOffsetMatrix));
        influences[b] = {slot->second, &carries[b]};
        const aiVertexWeight* weights = nullptr;
        unsigned weightCount = 0;
        in.weights.weightsOf(mesh, meshIndex, unsigned(b), weights, weightCount);
        for (unsigned k = 0; k < weightCount; ++k) {
            const aiVertexWeight& w = weights[k];
            if (w.mVertexId >= n) {
                ++counts.outOfRange;
            } else if (!(w.mWeight > 0)) {
                counts.negative += w.mWeight < 0 || !std::isfinite(w.mWeight);
            } else {
                ++count[w.mVertexId + 1];
            }
        }
    }
    for (std::size_t v = 0; v < n; ++v) {
        count[v + 1] += count[v];
    }
    part.weightStart = count;
    part.weights.resize(count[n]);
    std::vector<std::uint32_t> fill(count.begin(), count.end() - 1);
    std::vector<const Mat4*> carryOf(count[n]);
    for (std::size_t b = 0; b < boneNodes.size(); ++b) {
        if (influences[b].slot < 0) {
            continue;
        }
        const aiVertexWeight* weights = nullptr;
        unsigned weightCount = 0;
        in.weights.weightsOf(mesh, meshIndex, unsigned(b), weights, weightCount);
        for (unsigned k = 0; k < weightCount; ++k) {
            const aiVertexWeight& w = weights[k];
            if (w.mVertexId < n && w.mWeight > 0) {
                counts.aboveOne += w.mWeight > 1.0f;
                const std::uint32_t at = fill[w.mVertexId]++;
                part.weights[at] = {influences[b].slot, w.mWeight};
                carryOf[at] = influences[b].carry;
            }
        }
    }
    // Positions at the figure's rest pose: the weights' blend of their carries.
    for (std::size_t v = 0; v < n; ++v) {
        double total = 0;
        Vec3 blended(0, 0, 0);
        for (std::uint32_t i = part.weightStart[v]; i < part.weightStart[v + 1]; ++i) {
            const double w = part.weights[i].weight;
            blended += (*carryOf[i] * part.positions[v]) * w;
            total += w;
        }
        if (total > 0) {
            part.positions[v] = blended / total;
        }
    }
    // Each vertex's weights by bone slot, a bone named twice summed once.
    std::vector<VertexWeight> merged;
    merged.reserve(part.weights.size());
    std::vector<std::uint32_t> start(n + 1, 0);
    for (std::size_t v = 0; v < n; ++v) {
        auto first = part.weights.begin() + part.weightStart[v];
        auto last = part.weights.begin() + part.weightStart[v + 1];
        std::sort(first, last,
                  [](const VertexWeight& a, const VertexWeight& b) { return a.bone < b.bone; });
        for (auto it = first; it != last; ++it) {
            if (std::uint32_t(merged.size()) > start[v] && merged.back().bone == it->bone) {
                merged.back().weight += it->weight;
            } else {
                merged.push_back(*it);
            }
        }
        start[v + 1] = std::uint32_t(merged.size());
    }
    part.weights.swap(merged);
    part.weightStart.swap(start);
    return part;
}

void bindSkin(DzFigure& figure, const BuiltGeometry& geometry, const std::vector<DzBone*>& bones) {
    const std::size_t vertices = geometry.weightStart.empty() ? 0 : geometry.weightStart.size() - 1;
    std::vector<DzWeightMap*> maps(bones.size(), nullptr);
    for (std::size_t v = 0; v < vertices; ++v) {
        for (std::uint32_t i = geometry.weightStart[v]; i < geometry.weightStart[v + 1]; ++i) {
            const VertexWeight& w = geometry.weights[i];
            if (w.bone < 0 || std::size_t(w.bone) >= bones.size()) {
                continue;
            }
            DzWeightMap*& map = maps[std::size_t(w.bone)];
            if (map == nullptr) {
                map = new DzWeightMap(int(vertices));
            }
            map->getWeights()[v] = DzWeightMap::floatToWeight(w.weight);
        }
    }
    DzSkinBinding* skin = figure.getSkinBinding();
    for (std::size_t b = 0; b < bones.size(); ++b) {
        if (maps[b] == nullptr) {
            continue;
        }
        auto* binding = new DzBoneBinding();
        binding->setBone(bones[b]);
        binding->setName(bones[b]->getName() + QStringLiteral("_bind"));
        binding->setWeights(maps[b]);
        skin->addBoneBinding(binding);
    }
}

// A skeleton's bones: their model nodes and host bones, in plan order.
struct FigureBones {
    std::unordered_map<int, int> slotOfNode;
    std::vector<DzBone*> bones;
};

std::vector<FigureBones> bonesBySkeleton(const GeometryInputs& in,
                                         const std::vector<MadeNode>& made) {
    std::vector<FigureBones> out(std::size_t(std::max(in.skeletons.skeletonCount, 0)));
    for (std::size_t i = 0; i < in.plan.nodes.size(); ++i) {
        const HostNodeSpec& s = in.plan.nodes[i];
        if (s.kind != HostKind::Bone || s.skeleton < 0 || std::size_t(s.skeleton) >= out.size()) {
            continue;
        }
        FigureBones& figure = out[std::size_t(s.skeleton)];
        figure.slotOfNode.emplace(s.source, int(figure.bones.size()));
        figure.bones.push_back(static_cast<DzBone*>(made[i].node));
    }
    return out;
}

KeptFaces dressFigure(const GeometryInputs& in, const HostNodeSpec& spec, DzFigure& figure,
                      const FigureBones& figureBones) {
    const std::unordered_map<int, int>& slotOfNode = figureBones.slotOfNode;
    const std::vector<DzBone*>& bones = figureBones.bones;
    WeightCounts counts;
    std::vector<MeshPart> parts;
    for (unsigned m : spec.meshes) {
        parts.push_back(skinnedPart(in, m, slotOfNode, counts));
    }
    if (counts.outOfRange + counts.negative + counts.aboveOne > 0) {
        in.notes.drop(format("figure '%s': %zu skin weights naming missing vertices, %zu "
                             "negative ones dropped; %zu above 1 held at 1",
                             spec.name.c_str(), counts.outOfRange, counts.negative,
                             counts.aboveOne));
    }
    BuiltGeometry geometry;
    figure.setObject(makeObject(in.scene, parts, spec.name, in.textures, in.notes, geometry));
    bindSkin(figure, geometry, bones);
    return geometry.kept;
}

} // namespace

KeptFaces dressHostNodes(const GeometryInputs& in, const std::vector<MadeNode>& made) {
    const std::vector<FigureBones> bones = bonesBySkeleton(in, made);
    KeptFaces kept;
    const FigureBones noBones;
    for (std::size_t i = 0; i < in.plan.nodes.size(); ++i) {
        const HostNodeSpec& spec = in.plan.nodes[i];
        if (spec.meshes.empty()) {
            continue;
        }
        if (spec.kind == HostKind::Figure) {
            const bool known = spec.skeleton >= 0 && std::size_t(spec.skeleton) < bones.size();
            kept += dressFigure(in, spec, *static_cast<DzFigure*>(made[i].node),
                                known ? bones[std::size_t(spec.skeleton)] : noBones);
            continue;
        }
        std::vector<MeshPart> parts;
        for (unsigned m : spec.meshes) {
            if (in.scene.mMeshes[m] != nullptr) {
                parts.push_back(plainPart(*in.scene.mMeshes[m], in.space));
            }
        }
        BuiltGeometry geometry;
        made[i].node->setObject(
            makeObject(in.scene, parts, spec.name, in.textures, in.notes, geometry));
        kept += geometry.kept;
    }
    return kept;
}

} // namespace model
} // namespace yfx
