#include "model/skeleton_plan.h"

#include <assimp/scene.h>

#include <numeric>

namespace yfx {
namespace model {

namespace {

struct UnionFind {
    std::vector<int> up;
    explicit UnionFind(std::size_t n) : up(n) { std::iota(up.begin(), up.end(), 0); }
    int root(int i) {
        while (up[std::size_t(i)] != i) {
            up[std::size_t(i)] = up[std::size_t(up[std::size_t(i)])];
            i = up[std::size_t(i)];
        }
        return i;
    }
    void join(int a, int b) {
        a = root(a);
        b = root(b);
        if (a != b) {
            up[std::size_t(std::max(a, b))] = std::min(a, b);
        }
    }
};

// The nodes of one mesh's skeleton (see the header), from its bone nodes.
// `stamp` and `pathChildren` are scratch arrays over the nodes, reused by
// every mesh: `stamp` holds the last mesh that reached a node.
std::vector<int> meshSkeletonNodes(const NodeTable& table, const std::vector<int>& bones, int mesh,
                                   std::vector<int>& stamp, std::vector<int>& pathChildren,
                                   std::vector<int>& boneStamp) {
    std::vector<int> path; // the union of the bones' paths to the root
    for (int b : bones) {
        if (b < 0) {
            continue;
        }
        boneStamp[std::size_t(b)] = mesh;
        for (int n = b; n >= 0 && stamp[std::size_t(n)] != mesh; n = table.parent[std::size_t(n)]) {
            stamp[std::size_t(n)] = mesh;
            pathChildren[std::size_t(n)] = 0;
            path.push_back(n);
        }
    }
    for (int n : path) {
        const int p = table.parent[std::size_t(n)];
        if (p >= 0) {
            ++pathChildren[std::size_t(p)];
        }
    }
    // Above the common ancestor the paths form one chain of non-bones.
    int ancestor = -1;
    for (int n : path) {
        const bool branches =
            boneStamp[std::size_t(n)] == mesh || pathChildren[std::size_t(n)] != 1;
        if (branches &&
            (ancestor < 0 || table.depth[std::size_t(n)] < table.depth[std::size_t(ancestor)])) {
            ancestor = n;
        }
    }
    std::vector<int> nodes;
    if (ancestor < 0) {
        return nodes;
    }
    const int floor = table.depth[std::size_t(ancestor)];
    const bool ancestorIsBone = boneStamp[std::size_t(ancestor)] == mesh;
    for (int n : path) {
        if (table.depth[std::size_t(n)] > floor || (n == ancestor && ancestorIsBone)) {
            nodes.push_back(n);
        }
    }
    return nodes;
}

} // namespace

std::vector<char> nodesWithContent(const aiScene& scene, const NodeTable& table) {
    std::vector<char> content(std::size_t(table.size()), 0);
    for (int i = 0; i < table.size(); ++i) {
        content[std::size_t(i)] = table.nodes[std::size_t(i)]->mNumMeshes > 0;
    }
    auto mark = [&](const aiString& name) {
        const int n = table.find(name);
        if (n >= 0) {
            content[std::size_t(n)] = 1;
        }
    };
    for (unsigned i = 0; scene.mLights != nullptr && i < scene.mNumLights; ++i) {
        if (scene.mLights[i] != nullptr) {
            mark(scene.mLights[i]->mName);
        }
    }
    for (unsigned i = 0; scene.mCameras != nullptr && i < scene.mNumCameras; ++i) {
        if (scene.mCameras[i] != nullptr) {
            mark(scene.mCameras[i]->mName);
        }
    }
    return content;
}

SkeletonPlan planSkeletons(const aiScene& scene, const NodeTable& table,
                           const std::vector<char>& nodeHasContent, ModelNotes& notes) {
    SkeletonPlan plan;
    const std::size_t nodeCount = std::size_t(table.size());
    const unsigned meshCount = scene.mMeshes != nullptr ? scene.mNumMeshes : 0;
    plan.nodeSkeleton.assign(nodeCount, -1);
    plan.meshSkeleton.assign(meshCount, -1);
    plan.boneNodes.resize(meshCount);

    std::vector<int> stamp(nodeCount, -1), pathChildren(nodeCount, 0), boneStamp(nodeCount, -1);
    std::vector<int> owner(nodeCount, -1); // the first mesh whose skeleton holds the node
    UnionFind groups(meshCount);
    std::vector<char> skinned(meshCount, 0);
    for (unsigned m = 0; m < meshCount; ++m) {
        const aiMesh* mesh = scene.mMeshes[m];
        if (mesh == nullptr || mesh->mBones == nullptr || mesh->mNumBones == 0) {
            continue;
        }
        std::vector<int>& bones = plan.boneNodes[m];
        bones.assign(mesh->mNumBones, -1);
        int found = 0;
        for (unsigned b = 0; b < mesh->mNumBones; ++b) {
            const aiBone* bone = mesh->mBones[b];
            if (bone == nullptr) {
                continue;
            }
            bones[b] = table.find(bone->mName);
            if (bones[b] >= 0) {
                ++found;
            } else if (bone->mNumWeights > 0) {
                notes.drop(format("skin weights of bone '%s' of mesh '%s' (%u): no node of "
                                  "that name to move them",
                                  bone->mName.C_Str(), mesh->mName.C_Str(), bone->mNumWeights));
            }
        }
        if (found == 0) {
            continue;
        }
        skinned[m] = 1;
        for (int n : meshSkeletonNodes(table, bones, int(m), stamp, pathChildren, boneStamp)) {
            if (owner[std::size_t(n)] < 0) {
                owner[std::size_t(n)] = int(m);
            } else {
                groups.join(int(m), owner[std::size_t(n)]);
            }
        }
    }

    std::vector<int> skeletonOfGroup(meshCount, -1);
    for (unsigned m = 0; m < meshCount; ++m) {
        if (!skinned[m]) {
            continue;
        }
        int& s = skeletonOfGroup[std::size_t(groups.root(int(m)))];
        if (s < 0) {
            s = plan.skeletonCount++;
        }
        plan.meshSkeleton[m] = s;
    }
    for (std::size_t n = 0; n < nodeCount; ++n) {
        if (owner[n] >= 0) {
            plan.nodeSkeleton[n] = skeletonOfGroup[std::size_t(groups.root(owner[n]))];
        }
    }

    // Empty subtrees below a bone join its skeleton (pre-order: parents first).
    std::vector<char> subtreeContent(nodeHasContent);
    subtreeContent.resize(nodeCount, 0);
    for (std::size_t n = nodeCount; n-- > 1;) {
        const int p = table.parent[n];
        if (p >= 0 && subtreeContent[n]) {
            subtreeContent[std::size_t(p)] = 1;
        }
    }
    for (std::size_t n = 0; n < nodeCount; ++n) {
        const int p = table.parent[n];
        if (p >= 0 && plan.nodeSkeleton[n] < 0 && plan.nodeSkeleton[std::size_t(p)] >= 0 &&
            !subtreeContent[n]) {
            plan.nodeSkeleton[n] = plan.nodeSkeleton[std::size_t(p)];
        }
    }
    return plan;
}

} // namespace model
} // namespace yfx
