// Which nodes become bones, and how figures gather their meshes and bones.
//
// The skeleton plan is checked against a plain reading of its definition (the
// nodes on the paths from a skinned mesh's bones up to their lowest common
// ancestor, that ancestor only when it is a bone; meshes sharing a node share
// a skeleton, numbered by their first mesh; empty subtrees below a bone join
// it) on hand-made trees and on many random ones, deep chains and bones in
// different subtrees included. Figures are checked through the scene builder:
// with the bones of two skeletons interleaved in the node tree and their
// meshes interleaved in the mesh list, each figure holds just its own meshes
// (in mesh order) and binds just its own bones (in node order).
#include "model/node_table.h"
#include "model/scene_builder.h"
#include "model/skeleton_plan.h"

#include <assimp/scene.h>

#include <dzbonebinding.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfigure.h>
#include <dzobject.h>
#include <dzscene.h>
#include <dzskinbinding.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace modeltest {
namespace {

std::string nodeName(int i) {
    return "N" + std::to_string(i);
}

// Nodes "N0".."Nn-1", node i a child of parents[i] < i (-1 for N0, the root);
// mesh m skinned to the nodes named by bones[m] (-1: a name no node has), no
// bones when empty, each bone weighing 1 / bones on every vertex; holders[m]
// >= 0: the node that holds mesh m. Mesh m is a fan of m + 1 triangles over
// m + 3 vertices, vertex v at (10 m + v, v * v, 0).
struct SkinCase {
    std::vector<int> parents;
    std::vector<std::vector<int>> bones;
    std::vector<int> holders;
};

std::unique_ptr<aiScene> sceneOf(const SkinCase& c) {
    auto scene = std::make_unique<aiScene>();
    std::vector<aiNode*> nodes;
    for (std::size_t i = 0; i < c.parents.size(); ++i) {
        nodes.push_back(new aiNode(nodeName(int(i))));
    }
    std::vector<std::vector<aiNode*>> children(nodes.size());
    std::vector<std::vector<unsigned>> held(nodes.size());
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        children[std::size_t(c.parents[i])].push_back(nodes[i]);
    }
    for (std::size_t m = 0; m < c.holders.size(); ++m) {
        if (c.holders[m] >= 0) {
            held[std::size_t(c.holders[m])].push_back(unsigned(m));
        }
    }
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (!children[i].empty()) {
            nodes[i]->addChildren(unsigned(children[i].size()), children[i].data());
        }
        if (!held[i].empty()) {
            nodes[i]->mNumMeshes = unsigned(held[i].size());
            nodes[i]->mMeshes = new unsigned[held[i].size()];
            std::copy(held[i].begin(), held[i].end(), nodes[i]->mMeshes);
        }
    }
    scene->mRootNode = nodes[0];
    scene->mNumMeshes = unsigned(c.bones.size());
    scene->mMeshes = new aiMesh*[c.bones.size()];
    for (std::size_t m = 0; m < c.bones.size(); ++m) {
        auto* mesh = new aiMesh();
        mesh->mName = aiString("M" + std::to_string(m));
        mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
        const unsigned vertices = unsigned(m) + 3;
        mesh->mNumVertices = vertices;
        mesh->mVertices = new aiVector3D[vertices];
        for (unsigned v = 0; v < vertices; ++v) {
            mesh->mVertices[v] = aiVector3D(float(10 * m + v), float(v * v), 0);
        }
        mesh->mNumFaces = vertices - 2;
        mesh->mFaces = new aiFace[vertices - 2];
        for (unsigned f = 0; f < vertices - 2; ++f) {
            mesh->mFaces[f].mNumIndices = 3;
            mesh->mFaces[f].mIndices = new unsigned[3]{0, f + 1, f + 2};
        }
        const std::vector<int>& bones = c.bones[m];
        if (!bones.empty()) {
            mesh->mNumBones = unsigned(bones.size());
            mesh->mBones = new aiBone*[bones.size()];
            for (std::size_t b = 0; b < bones.size(); ++b) {
                auto* bone = new aiBone();
                bone->mName = aiString(bones[b] >= 0 ? nodeName(bones[b]) : "Missing");
                bone->mNumWeights = vertices;
                bone->mWeights = new aiVertexWeight[vertices];
                for (unsigned v = 0; v < vertices; ++v) {
                    bone->mWeights[v] = aiVertexWeight(v, 1.0f / float(bones.size()));
                }
                mesh->mBones[b] = bone;
            }
        }
        scene->mMeshes[m] = mesh;
    }
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { new aiMaterial() };
    return scene;
}

struct PlanResult {
    std::vector<int> nodeSkeleton; // by node number (not table index)
    std::vector<int> meshSkeleton;
};

// The plan straight from its definition, on the numbered tree.
PlanResult referencePlan(const SkinCase& c) {
    const std::size_t n = c.parents.size(), meshes = c.bones.size();
    auto ancestors = [&](int x) { // x, its parent, ..., the root
        std::vector<int> up;
        for (; x >= 0; x = c.parents[std::size_t(x)]) {
            up.push_back(x);
        }
        return up;
    };
    std::vector<std::set<int>> held(meshes); // each mesh's skeleton nodes
    for (std::size_t m = 0; m < meshes; ++m) {
        std::vector<int> bones;
        for (int b : c.bones[m]) {
            if (b >= 0) {
                bones.push_back(b);
            }
        }
        if (bones.empty()) {
            continue;
        }
        std::vector<int> common = ancestors(bones[0]); // deepest first
        for (int b : bones) {
            const std::vector<int> up = ancestors(b);
            common.erase(std::remove_if(
                             common.begin(), common.end(),
                             [&](int a) { return std::find(up.begin(), up.end(), a) == up.end(); }),
                         common.end());
        }
        const int lca = common.front();
        const bool lcaIsBone = std::find(bones.begin(), bones.end(), lca) != bones.end();
        for (int b : bones) {
            for (int x = b; x != lca; x = c.parents[std::size_t(x)]) {
                held[m].insert(x);
            }
        }
        if (lcaIsBone) {
            held[m].insert(lca);
        }
    }
    // Meshes sharing a node, grouped by their first mesh.
    std::vector<std::size_t> group(meshes);
    std::iota(group.begin(), group.end(), 0);
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t a = 0; a < meshes; ++a) {
            for (std::size_t b = a + 1; b < meshes; ++b) {
                const bool share = std::any_of(held[a].begin(), held[a].end(),
                                               [&](int x) { return held[b].count(x) > 0; });
                if (share && group[a] != group[b]) {
                    const std::size_t low = std::min(group[a], group[b]);
                    group[a] = group[b] = low;
                    changed = true;
                }
            }
        }
    }
    PlanResult out;
    out.nodeSkeleton.assign(n, -1);
    out.meshSkeleton.assign(meshes, -1);
    std::vector<int> skeletonOfGroup(meshes, -1);
    int count = 0;
    for (std::size_t m = 0; m < meshes; ++m) {
        if (held[m].empty()) {
            continue;
        }
        int& s = skeletonOfGroup[group[m]];
        if (s < 0) {
            s = count++;
        }
        out.meshSkeleton[m] = s;
        for (int x : held[m]) {
            out.nodeSkeleton[std::size_t(x)] = s;
        }
    }
    // Subtrees holding no mesh below a bone join its skeleton, top down.
    std::vector<char> content(n, 0);
    for (int h : c.holders) {
        if (h >= 0) {
            for (int x : ancestors(h)) {
                content[std::size_t(x)] = 1;
            }
        }
    }
    for (int x = 0; x < int(n); ++x) { // parents before children
        const int p = c.parents[std::size_t(x)];
        if (p >= 0 && out.nodeSkeleton[std::size_t(x)] < 0 &&
            out.nodeSkeleton[std::size_t(p)] >= 0 && !content[std::size_t(x)]) {
            out.nodeSkeleton[std::size_t(x)] = out.nodeSkeleton[std::size_t(p)];
        }
    }
    return out;
}

PlanResult plannedSkeletons(const SkinCase& c) {
    const auto scene = sceneOf(c);
    const yfx::model::NodeTable table = yfx::model::makeNodeTable(*scene);
    yfx::model::ModelNotes notes;
    const yfx::model::SkeletonPlan plan = yfx::model::planSkeletons(
        *scene, table, yfx::model::nodesWithContent(*scene, table), notes);
    PlanResult out;
    out.nodeSkeleton.assign(c.parents.size(), -1);
    for (int i = 0; i < table.size(); ++i) {
        const int number = std::stoi(table.nodes[std::size_t(i)]->mName.C_Str() + 1);
        out.nodeSkeleton[std::size_t(number)] = plan.nodeSkeleton[std::size_t(i)];
    }
    out.meshSkeleton = plan.meshSkeleton;
    return out;
}

// A random tree: mostly deep chains (a parent among the last few nodes) or
// bushy (any earlier node); 0-12 meshes of 0-5 bones, some held by a node.
SkinCase randomCase(std::mt19937& random) {
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    SkinCase c;
    const int n = pick(1, 60);
    const bool deep = pick(0, 1) == 1;
    c.parents.push_back(-1);
    for (int i = 1; i < n; ++i) {
        c.parents.push_back(deep ? pick(std::max(0, i - 3), i - 1) : pick(0, i - 1));
    }
    const int meshes = pick(0, 12);
    for (int m = 0; m < meshes; ++m) {
        std::vector<int> bones(std::size_t(pick(0, 5)));
        for (int& b : bones) {
            b = pick(0, 9) == 0 ? -1 : pick(0, n - 1);
        }
        c.bones.push_back(bones);
        c.holders.push_back(pick(0, 2) == 0 ? -1 : pick(0, n - 1));
    }
    return c;
}

TEST(SkeletonPlan, SkeletonsMatchTheirDefinitionOnHandMadeAndRandomTrees) {
    // Hand-made trees, with the plan they must give.
    //   0 -> 1 -> 2 -> {3 -> 4, 5 -> 6}; 7 under 0; 8 under 4.
    const std::vector<int> tree = {-1, 0, 1, 2, 3, 2, 5, 0, 4};
    const struct {
        const char* what;
        SkinCase skin;
        std::vector<int> nodeSkeleton, meshSkeleton;
    } cases[] = {
        {"bones in two subtrees: their ancestor and the chain above stay plain",
         {tree, {{4, 6}}, {7}},
         {-1, -1, -1, 0, 0, 0, 0, -1, 0},
         {0}},
        {"the ancestor is itself a bone",
         {tree, {{6, 2}}, {7}},
         {-1, -1, 0, 0, 0, 0, 0, -1, 0},
         {0}},
        {"the root as a bone, bones named twice, a missing name",
         {tree, {{-1, 4, 0, 4}}, {8}},
         {0, 0, 0, 0, 0, 0, 0, 0, -1},
         {0}},
        {"a mesh whose ancestor lies inside an earlier mesh's chain joins it",
         {tree, {{}, {8, 1}, {3, 6}, {7}}, {7, 7, 7, -1}},
         {-1, 0, 0, 0, 0, 0, 0, 1, 0},
         {-1, 0, 0, 1}},
        {"a bone above another mesh's ancestor stays apart; the empty gap joins it",
         {tree, {{4, 6}, {1}}, {7, 7}},
         {-1, 1, 1, 0, 0, 0, 0, -1, 0},
         {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PlanResult reference = referencePlan(c.skin);
        EXPECT_EQ(reference.nodeSkeleton, c.nodeSkeleton);
        EXPECT_EQ(reference.meshSkeleton, c.meshSkeleton);
        const PlanResult planned = plannedSkeletons(c.skin);
        EXPECT_EQ(planned.nodeSkeleton, c.nodeSkeleton);
        EXPECT_EQ(planned.meshSkeleton, c.meshSkeleton);
    }
    std::mt19937 random(20261209);
    for (int round = 0; round < 400 && !HasFailure(); ++round) {
        SCOPED_TRACE("random tree " + std::to_string(round));
        const SkinCase c = randomCase(random);
        const PlanResult reference = referencePlan(c);
        const PlanResult planned = plannedSkeletons(c);
        EXPECT_EQ(planned.nodeSkeleton, reference.nodeSkeleton);
        EXPECT_EQ(planned.meshSkeleton, reference.meshSkeleton);
    }
}

struct HostScene {
    HostScene() { DzScene::create(); }
    ~HostScene() { DzScene::destroy(); }
};

TEST(SkeletonPlan, FiguresHoldTheirOwnMeshesAndBonesInOrder) {
    // N0 -> N1 (holding every mesh) -> N2 .. N6: skeleton A (N2, N4, N6) and
    // skeleton B (N3, N5) interleave in node order; the meshes skinned to B
    // (0, 2, 4) and to A (1, 3) interleave in mesh order.
    const auto scene = sceneOf(
        {{-1, 0, 1, 1, 1, 1, 1}, {{3, 5}, {2, 4}, {5, 3}, {4, 2, 6}, {3}}, {1, 1, 1, 1, 1}});
    HostScene host;
    yfx::model::BuildOptions options;
    options.extension = "obj"; // centimetres, Y up: positions as given
    yfx::model::BuiltScene built;
    yfx::model::ModelNotes notes;
    std::string error;
    ASSERT_TRUE(yfx::model::buildHostScene(*scene, options, built, notes, error)) << error;
    EXPECT_EQ(built.figures, 2);
    EXPECT_EQ(built.bones, 5);

    // Skeleton 0 is B's (mesh 0 is first); each figure in the order it was made.
    const struct {
        std::vector<unsigned> meshes;
        std::vector<std::string> bindings;
    } expected[] = {{{0, 2, 4}, {"N3_bind", "N5_bind"}},
                    {{1, 3}, {"N2_bind", "N4_bind", "N6_bind"}}};
    std::vector<DzFigure*> figures;
    for (int i = 0; i < dzScene->getNumNodes(); ++i) {
        if (auto* figure = qobject_cast<DzFigure*>(dzScene->getNode(i))) {
            figures.push_back(figure);
        }
    }
    ASSERT_EQ(figures.size(), 2u);
    for (std::size_t f = 0; f < figures.size(); ++f) {
        SCOPED_TRACE("figure " + std::to_string(f));
        std::vector<double> xs; // the vertices' x, mesh after mesh
        for (unsigned m : expected[f].meshes) {
            for (unsigned v = 0; v < m + 3; ++v) {
                xs.push_back(10.0 * m + v);
            }
        }
        ASSERT_NE(figures[f]->getObject(), nullptr);
        const auto* shape = qobject_cast<DzFacetShape*>(figures[f]->getObject()->getCurrentShape());
        ASSERT_NE(shape, nullptr);
        const DzFacetMesh& mesh = *shape->getFacetMesh();
        ASSERT_EQ(mesh.getNumVertices(), int(xs.size()));
        for (int v = 0; v < mesh.getNumVertices(); ++v) {
            EXPECT_NEAR(mesh.getVertex(v).m_x, xs[std::size_t(v)], 1e-4) << "vertex " << v;
        }
        const DzSkinBinding& skin = *figures[f]->getSkinBinding();
        std::vector<std::string> bindings;
        for (int b = 0; b < skin.getNumBoneBindings(); ++b) {
            bindings.push_back(skin.getBoneBinding(b)->getName().toStdString());
        }
        EXPECT_EQ(bindings, expected[f].bindings);
    }
}

} // namespace
} // namespace modeltest
