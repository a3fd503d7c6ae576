#include "model/skeleton_plan.h"

#include <assimp/scene.h>

#include <algorithm>
#include <numeric>
#include <optional>

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

// Lowest common ancestors in O(1) after an O(n log n) build. The table is in
// pre-order (a subtree is a run of indices), so for nodes a < b the common
// ancestor is the parent of the shallowest node in (a, b]: every node of that
// range lies below the ancestor, and the range holds the ancestor's child on
// b's side.
class AncestorIndex {
public:
    explicit AncestorIndex(const NodeTable& table) : m_table(table) {
        const std::size_t n = std::size_t(table.size());
        m_shallowest.emplace_back(n);
        std::iota(m_shallowest[0].begin(), m_shallowest[0].end(), 0);
        for (std::size_t span = 2; span <= n; span *= 2) {
            const std::vector<int>& half = m_shallowest.back();
            std::vector<int> level(n - span + 1);
            for (std::size_t i = 0; i < level.size(); ++i) {
                level[i] = shallower(half[i], half[i + span / 2]);
            }
            m_shallowest.push_back(std::move(level));
        }
    }

    // The lowest common ancestor of a set of nodes: that of its first and
    // last node in pre-order, whose subtree holds every node between them.
    int of(int first, int last) const {
        if (first == last) {
            return first;
        }
        std::size_t level = 0;
        const std::size_t length = std::size_t(last - first);
        while ((std::size_t(2) << level) <= length) {
            ++level;
        }
        const std::vector<int>& row = m_shallowest[level];
        const int child = shallower(row[std::size_t(first + 1)],
                                    row[std::size_t(last + 1) - (std::size_t(1) << level)]);
        return m_table.parent[std::size_t(child)];
    }

private:
    int shallower(int a, int b) const {
        return m_table.depth[std::size_t(b)] < m_table.depth[std::size_t(a)] ? b : a;
    }

    const NodeTable& m_table;
    std::vector<std::vector<int>> m_shallowest; // [k][i]: shallowest of nodes i .. i + 2^k - 1
};

// Gives every node of the meshes' skeletons (see the header) its first mesh,
// and groups the meshes whose skeletons share a node. A mesh's skeleton is
// the nodes on the paths from its bones up to their common ancestor (that
// ancestor only when it is a bone). An edge from a node to its parent that
// one skeleton held is never walked again: the nodes joined by such edges
// form runs that are all claimed and all in one group, so a later walk jumps
// from a run's lowest node to its top. Every edge is joined once, so claiming
// costs about the number of nodes plus bones, however deep the skeletons.
class SkeletonClaims {
public:
    SkeletonClaims(const NodeTable& table, std::size_t meshCount)
        : owner(std::size_t(table.size()), -1), groups(meshCount), m_table(table),
          m_runUp(std::size_t(table.size())) {
        std::iota(m_runUp.begin(), m_runUp.end(), 0);
    }

    // `bones`: node indices, -1 for none; at least one is a node.
    void claim(int mesh, const std::vector<int>& bones) {
        int first = -1, last = -1;
        for (int b : bones) {
            if (b >= 0) {
                first = first < 0 ? b : std::min(first, b);
                last = std::max(last, b);
            }
        }
        if (first < 0) {
            return;
        }
        if (!m_ancestors) {
            m_ancestors.emplace(m_table);
        }
        const int ancestor = m_ancestors->of(first, last);
        // The ancestor is a bone exactly when it is the first bone in pre-order.
        const bool ancestorIsBone = ancestor == first;
        const int floor = m_table.depth[std::size_t(ancestor)];
        for (int b : bones) {
            if (b >= 0) {
                claimPath(mesh, b, ancestor, ancestorIsBone, floor);
            }
        }
    }

    std::vector<int> owner; // per node: the first mesh whose skeleton holds it
    UnionFind groups;       // meshes whose skeletons share a node

private:
    void claimNode(int mesh, int n) {
        int& first = owner[std::size_t(n)];
        if (first < 0) {
            first = mesh;
        } else {
            groups.join(mesh, first);
        }
    }

    int runTop(int n) {
        while (m_runUp[std::size_t(n)] != n) {
            m_runUp[std::size_t(n)] = m_runUp[std::size_t(m_runUp[std::size_t(n)])];
            n = m_runUp[std::size_t(n)];
        }
        return n;
    }

    // From `bone` up to the ancestor, `bone` a node of the skeleton.
    void claimPath(int mesh, int bone, int ancestor, bool ancestorIsBone, int floor) {
        for (int n = bone;;) {
            claimNode(mesh, n);
            if (n == ancestor) {
                return;
            }
            if (m_runUp[std::size_t(n)] != n) {
                // Already joined to its parent: skip the run, claimed and grouped with n.
                const int top = runTop(n);
                if (m_table.depth[std::size_t(top)] <= floor) {
                    return; // the run reaches the ancestor
                }
                n = top;
                continue;
            }
            const int p = m_table.parent[std::size_t(n)];
            if (p == ancestor && !ancestorIsBone) {
                return;
            }
            m_runUp[std::size_t(n)] = p;
            n = p;
        }
    }

    const NodeTable& m_table;
    std::vector<int> m_runUp; // per node: a node above it in its run, itself at a run's top
    std::optional<AncestorIndex> m_ancestors; // built for the first skinned mesh
};

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

    SkeletonClaims claims(table, meshCount);
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
        claims.claim(int(m), bones);
    }

    const std::vector<int>& owner = claims.owner;
    UnionFind& groups = claims.groups;
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

    // Each skeleton's frame: the one parent all its top bones share.
    constexpr int kUnset = -2;
    plan.frameNode.assign(std::size_t(plan.skeletonCount), kUnset);
    for (std::size_t n = 0; n < nodeCount; ++n) {
        const int s = plan.nodeSkeleton[n];
        const int p = table.parent[n];
        if (s < 0 || (p >= 0 && plan.nodeSkeleton[std::size_t(p)] == s)) {
            continue;
        }
        int& frame = plan.frameNode[std::size_t(s)];
        frame = frame == kUnset || frame == p ? p : -1;
    }
    for (int& frame : plan.frameNode) {
        frame = std::max(frame, -1);
    }
    return plan;
}

} // namespace model
} // namespace yfx
