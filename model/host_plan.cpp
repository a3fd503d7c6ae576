#include "model/host_plan.h"

#include <assimp/scene.h>

#include <string>
#include <utility>

namespace yfx {
namespace model {

namespace {

// Lights or cameras by the node they are named after.
template <class T>
std::vector<std::vector<int>> byNode(T** items, unsigned count, const NodeTable& table,
                                     const char* kind, ModelNotes& notes) {
    std::vector<std::vector<int>> out(std::size_t(table.size()));
    for (unsigned i = 0; items != nullptr && i < count; ++i) {
        if (items[i] == nullptr) {
            continue;
        }
        const int node = table.find(items[i]->mName);
        if (node < 0) {
            notes.drop(
                format("%s '%s': no node of that name places it", kind, items[i]->mName.C_Str()));
            continue;
        }
        out[std::size_t(node)].push_back(int(i));
    }
    return out;
}

bool leftOut(const NodeTable& table, const SkeletonPlan& skeletons,
             const std::vector<std::vector<int>>& lights,
             const std::vector<std::vector<int>>& cameras) {
    const aiNode* root = table.nodes[0];
    return root->mTransformation.IsIdentity() && root->mNumMeshes == 0 && lights[0].empty() &&
           cameras[0].empty() && skeletons.nodeSkeleton[0] < 0;
}

std::string nodeName(const aiNode& node, int index) {
    return node.mName.length > 0 ? std::string(node.mName.C_Str()) : format("Node%d", index);
}

// A host node that shows part of model node `source` as a child of host node `parent`.
HostNodeSpec placedOn(int parent, int source, HostKind kind, std::string name) {
    HostNodeSpec spec;
    spec.kind = kind;
    spec.source = source;
    spec.parent = parent;
    spec.name = std::move(name);
    return spec;
}

int add(HostPlan& plan, HostNodeSpec spec) {
    plan.nodes.push_back(std::move(spec));
    return int(plan.nodes.size()) - 1;
}

// Leaves out the plain nodes that only showed skinned meshes (now their
// figure's) and hold nothing else: the figure stands for them.
void dropEmptiedNodes(HostPlan& plan, const std::vector<char>& emptied) {
    std::vector<int> children(plan.nodes.size(), 0);
    for (const HostNodeSpec& spec : plan.nodes) {
        if (spec.parent >= 0) {
            ++children[std::size_t(spec.parent)];
        }
    }
    std::vector<int> newIndex(plan.nodes.size(), -1);
    std::vector<HostNodeSpec> kept;
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        HostNodeSpec& spec = plan.nodes[i];
        if (emptied[i] && children[i] == 0) {
            continue;
        }
        spec.parent = spec.parent >= 0 ? newIndex[std::size_t(spec.parent)] : -1;
        newIndex[i] = int(kept.size());
        kept.push_back(std::move(spec));
    }
    plan.nodes.swap(kept);
    for (int& n : plan.nodeOf) {
        n = n >= 0 ? newIndex[std::size_t(n)] : -1;
    }
    for (int& n : plan.figureOf) {
        n = newIndex[std::size_t(n)];
    }
}

} // namespace

HostPlan planHostNodes(const aiScene& scene, const NodeTable& table, const SkeletonPlan& skeletons,
                       ModelNotes& notes) {
    HostPlan plan;
    plan.nodeOf.assign(std::size_t(table.size()), -1);
    if (table.size() == 0) {
        return plan;
    }
    const auto lights = byNode(scene.mLights, scene.mNumLights, table, "light", notes);
    const auto cameras = byNode(scene.mCameras, scene.mNumCameras, table, "camera", notes);
    const unsigned meshCount = scene.mMeshes != nullptr ? scene.mNumMeshes : 0;

    // Figures first, at the top: each named after the first node showing one
    // of its meshes.
    plan.figureOf.assign(std::size_t(skeletons.skeletonCount), -1);
    std::vector<std::vector<unsigned>> meshesOf(std::size_t(skeletons.skeletonCount));
    for (unsigned m = 0; m < meshCount; ++m) {
        const int s = skeletons.meshSkeleton[m];
        if (s >= 0 && s < skeletons.skeletonCount) {
            meshesOf[std::size_t(s)].push_back(m);
        }
    }
    for (int s = 0; s < skeletons.skeletonCount; ++s) {
        HostNodeSpec figure;
        figure.kind = HostKind::Figure;
        figure.skeleton = s;
        figure.frame =
            std::size_t(s) < skeletons.frameNode.size() ? skeletons.frameNode[std::size_t(s)] : -1;
        figure.meshes = std::move(meshesOf[std::size_t(s)]);
        plan.figureOf[std::size_t(s)] = add(plan, std::move(figure));
    }
    for (int i = 0; i < table.size(); ++i) {
        const aiNode& node = *table.nodes[std::size_t(i)];
        for (unsigned k = 0; node.mMeshes != nullptr && k < node.mNumMeshes; ++k) {
            const unsigned m = node.mMeshes[k];
            const int s = m < meshCount ? skeletons.meshSkeleton[m] : -1;
            HostNodeSpec* figure =
                s >= 0 ? &plan.nodes[std::size_t(plan.figureOf[std::size_t(s)])] : nullptr;
            if (figure != nullptr && figure->name.empty()) {
                figure->name = nodeName(node, i);
            }
        }
    }
    for (int s = 0; s < skeletons.skeletonCount; ++s) {
        HostNodeSpec& figure = plan.nodes[std::size_t(plan.figureOf[std::size_t(s)])];
        if (figure.name.empty()) {
            figure.name = format("Figure%d", s);
        }
    }

    const bool skipRoot = leftOut(table, skeletons, lights, cameras);
    std::vector<char> emptied; // per plan node: showed only skinned meshes
    for (int i = skipRoot ? 1 : 0; i < table.size(); ++i) {
        const aiNode& node = *table.nodes[std::size_t(i)];
        const int s = skeletons.nodeSkeleton[std::size_t(i)];
        const int p = table.parent[std::size_t(i)];
        HostNodeSpec spec;
        spec.source = i;
        spec.name = nodeName(node, i);
        spec.parent = p >= 0 ? plan.nodeOf[std::size_t(p)] : -1;
        if (s >= 0 && (p < 0 || skeletons.nodeSkeleton[std::size_t(p)] != s)) {
            spec.parent = plan.figureOf[std::size_t(s)]; // a root bone
        }

        std::vector<unsigned> meshes;
        for (unsigned k = 0; node.mMeshes != nullptr && k < node.mNumMeshes; ++k) {
            const unsigned m = node.mMeshes[k];
            if (m < meshCount && skeletons.meshSkeleton[m] < 0) {
                meshes.push_back(m);
            }
        }
        std::vector<int> nodeLights = lights[std::size_t(i)];
        std::vector<int> nodeCameras = cameras[std::size_t(i)];
        if (s >= 0) {
            spec.kind = HostKind::Bone;
            spec.skeleton = s;
        } else if (meshes.empty() && nodeLights.size() == 1 && nodeCameras.empty()) {
            spec.kind = HostKind::Light;
            spec.light = nodeLights[0];
            nodeLights.clear();
        } else if (meshes.empty() && nodeLights.empty() && nodeCameras.size() == 1) {
            spec.kind = HostKind::Camera;
            spec.camera = nodeCameras[0];
            nodeCameras.clear();
        } else {
            spec.meshes = meshes;
            meshes.clear();
        }
        const int own = add(plan, spec);
        plan.nodeOf[std::size_t(i)] = own;
        emptied.resize(plan.nodes.size(), 0);
        emptied[std::size_t(own)] = spec.kind == HostKind::Plain && spec.meshes.empty() &&
                                    node.mNumMeshes > 0 && nodeLights.empty() &&
                                    nodeCameras.empty();

        // What the node holds besides its own role, as children placed on it.
        if (!meshes.empty()) {
            HostNodeSpec geometry = placedOn(own, i, HostKind::Plain, spec.name + " Geometry");
            geometry.meshes = meshes;
            add(plan, std::move(geometry));
        }
        for (int l : nodeLights) {
            HostNodeSpec light = placedOn(own, i, HostKind::Light,
                                          std::string(scene.mLights[l]->mName.C_Str()) + " Light");
            light.light = l;
            add(plan, std::move(light));
        }
        for (int c : nodeCameras) {
            HostNodeSpec camera =
                placedOn(own, i, HostKind::Camera,
                         std::string(scene.mCameras[c]->mName.C_Str()) + " Camera");
            camera.camera = c;
            add(plan, std::move(camera));
        }
    }
    emptied.resize(plan.nodes.size(), 0);
    dropEmptiedNodes(plan, emptied);
    return plan;
}

} // namespace model
} // namespace yfx
