// Skin weights made complete, sorted, pruned and normalised before writing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "document/document.h"
#include "prepare/skin_weights.h"

namespace yfx {
namespace {

// Host nodes are only compared, never followed: any distinct addresses do.
DzNode* nodeAt(int i) {
    static char nodes[64];
    return reinterpret_cast<DzNode*>(&nodes[i]);
}

struct Weight {
    std::int32_t bone;
    float weight;
    std::int32_t contributions = 1;
};

struct Want {
    std::int32_t bone;
    float weight;
};

constexpr std::int32_t kKeepParent = -100;
constexpr int kNoHostNode = -1;
constexpr int kBonelessNode = 40; // a host node that no bone has

// Eight bones, each with its own host node, in a chain 0 <- 1 <- ... <- 6,
// and bone 7 a child of bone 2. Bones 2 and 7 have meshes.
SceneDoc skeleton() {
    SceneDoc doc;
    const std::int32_t parents[8] = {-1, 0, 1, 2, 3, 4, 5, 2};
    for (int i = 0; i < 8; ++i) {
        DocBone& bone = *addBone(doc);
        bone.host_node = nodeAt(i);
        bone.parent = parents[i];
    }
    doc.bones[2].mesh = 1;
    doc.bones[7].mesh = 0;
    return doc;
}

std::vector<Want> weightsOf(const DocVertex& vertex) {
    std::vector<Want> out;
    for (const DocWeight& w : vertex.weights) {
        out.push_back({w.bone, w.weight});
    }
    return out;
}

TEST(PrepareSkinWeights, OneVertexPerCase) {
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        int meshNode; // host node of the mesh: a bone's node, kBonelessNode or kNoHostNode
        int skinned;
        std::vector<Weight> in;
        std::vector<Want> want; // in order
        std::int32_t parentOf7 = kKeepParent;
    };
    // clang-format off
    const Case cases[] = {
        {"unskinned prop follows its own bone", 7, 0, {}, {{7, 1.0f}}},
        {"unskinned mesh of a node without bone", kBonelessNode, 0, {}, {}},
        {"mesh without host node is only normalised", kNoHostNode, 1,
         {{4, 0.25f}, {5, 0.25f}}, {{4, 0.5f}, {5, 0.5f}}},
        {"gap goes to the unnamed own bone", 7, 1,
         {{4, 0.3f}, {5, 0.3f}}, {{7, 0.4f}, {4, 0.3f}, {5, 0.3f}}},
        {"gap of a named own bone goes to its parent", 7, 1, {{7, 0.5f}}, {{7, 0.5f}, {2, 0.5f}}},
        {"gap on a root bone stays with it", 0, 1,
         {{0, 0.5f}, {4, 0.25f}}, {{0, 0.75f}, {4, 0.25f}}},
        {"tiny weight dropped", 7, 1, {{4, 0.00005f}, {5, 1.0f}}, {{5, 1.0f}}},
        {"repeated entry averaged", 7, 1, {{4, 1.0f, 2}, {5, 0.5f}}, {{4, 0.5f}, {5, 0.5f}}},
        {"excess taken from the own bone, its rest to the parent", 7, 1,
         {{7, 0.7f}, {4, 0.5f}}, {{4, 0.5f}, {2, 0.3f}, {7, 0.2f}}},
        {"own bone exhausted, shortfall shared by the others", 7, 1,
         {{7, 0.3f}, {4, 0.5f}, {5, 0.4f}}, {{2, 0.7f}, {4, 0.2f}, {5, 0.1f}}},
        {"own bone over 1 is removed", 7, 1, {{7, 1.5f}, {4, 0.2f}}, {{4, 1.0f}}},
        {"others over 1 remove the own bone", 7, 1, {{4, 1.2f}, {7, 0.5f}}, {{4, 1.0f}}},
        {"excess on a root bone only normalised", 0, 1,
         {{0, 0.8f}, {4, 0.4f}}, {{0, 2.0f / 3.0f}, {4, 1.0f / 3.0f}}},
        {"excess without the own bone only normalised", 7, 1,
         {{4, 0.8f}, {5, 0.4f}}, {{4, 2.0f / 3.0f}, {5, 1.0f / 3.0f}}},
        {"single weight over 1 only normalised", 7, 1, {{7, 1.5f}}, {{7, 1.0f}}},
        {"empty vertex follows a parent with a mesh", 7, 1, {}, {{2, 1.0f}}},
        {"empty vertex of a bone whose parent has no mesh", 1, 1, {}, {{1, 1.0f}}},
        {"own bone as its own parent: empty vertex", 7, 1, {}, {{7, 1.0f}}, 7},
        {"own bone as its own parent: gap stays with it", 7, 1,
         {{7, 0.5f}, {4, 0.25f}}, {{7, 0.75f}, {4, 0.25f}}, 7},
        {"parent past the bones counts as none", 7, 1,
         {{7, 0.7f}, {4, 0.5f}}, {{7, 0.7f / 1.2f}, {4, 0.5f / 1.2f}}, 99},
        {"negative parent other than -1 counts as none", 7, 1,
         {{7, 0.5f}, {4, 0.25f}}, {{7, 0.75f}, {4, 0.25f}}, -3},
        {"entries naming no bone dropped", 7, 1, {{-1, 0.5f}, {42, 0.3f}, {4, 0.5f}}, {{4, 1.0f}}},
        {"entry naming no bone still counts towards the gap", 7, 1,
         {{42, 0.2f}, {4, 0.3f}}, {{7, 0.625f}, {4, 0.375f}}},
        {"weight not a number dropped", 7, 1, {{4, kNaN}, {5, 0.5f}}, {{5, 1.0f}}},
        {"weights whose sum overflows", 7, 1, {{4, 3e38f}, {5, 1e38f}}, {{4, 0.75f}, {5, 0.25f}}},
        {"sorted largest first", kNoHostNode, 1,
         {{4, 0.1f}, {5, 0.3f}, {6, 0.2f}, {3, 0.4f}}, {{3, 0.4f}, {5, 0.3f}, {6, 0.2f}, {4, 0.1f}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SceneDoc doc = skeleton();
        if (c.parentOf7 != kKeepParent) {
            doc.bones[7].parent = c.parentOf7;
        }
        DocMesh& mesh = *addMesh(doc);
        mesh.host_node = c.meshNode == kNoHostNode ? nullptr : nodeAt(c.meshNode);
        mesh.weights_flag = c.skinned;
        mesh.vertices.resize(2); // two alike vertices: nothing carries over between them
        for (DocVertex& vertex : mesh.vertices) {
            for (const Weight& w : c.in) {
                *addWeightSlot(vertex) = DocWeight{w.bone, w.weight, w.contributions};
            }
        }

        prepare::prepareSkinWeights(doc);
        for (const DocVertex& vertex : mesh.vertices) {
            const std::vector<Want> got = weightsOf(vertex);
            ASSERT_EQ(got.size(), c.want.size()) << c.name;
            for (std::size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].bone, c.want[i].bone) << c.name << " entry " << i;
                EXPECT_NEAR(got[i].weight, c.want[i].weight, 1e-5f) << c.name << " entry " << i;
            }
        }
    }
}

TEST(PrepareSkinWeights, MeshesFindTheFirstBoneOfTheirNodeAndBonesGetMatrices) {
    SceneDoc doc;
    for (int i = 0; i < 6; ++i) {
        DocBone& bone = *addBone(doc);
        bone.host_node = nodeAt(i);
        bone.parent = i - 1;
        bone.position[1] = 1.0f;
    }
    doc.bones[4].host_node = nodeAt(2); // a second bone of node 2
    doc.bones[3].host_node = nullptr;
    const int meshNodes[] = {4, 2, 5, 2, 3};
    const std::int32_t wantBone[] = {-1, 2, 5, 2, -1};
    for (int node : meshNodes) {
        DocMesh& mesh = *addMesh(doc);
        mesh.host_node = nodeAt(node);
        mesh.vertices.resize(3);
    }
    prepare::prepareSkinWeights(doc);
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        for (const DocVertex& vertex : doc.meshes[m].vertices) {
            if (wantBone[m] < 0) {
                EXPECT_TRUE(vertex.weights.empty()) << m;
                continue;
            }
            ASSERT_EQ(vertex.weights.size(), 1u) << m;
            EXPECT_EQ(vertex.weights[0].bone, wantBone[m]) << m;
            EXPECT_EQ(vertex.weights[0].weight, 1.0f) << m;
        }
    }
    // The bone matrices are computed last: bone 5 sits six units up the chain.
    EXPECT_FLOAT_EQ(doc.bones[5].head[1], 6.0f);
    EXPECT_FLOAT_EQ(doc.bones[5].world_matrix[7], 6.0f);
    EXPECT_FLOAT_EQ(doc.bones[4].tail[1], 6.0f);
}

TEST(PrepareSkinWeights, GeneratedDocumentEndsWithCompleteNormalisedWeights) {
    std::mt19937 random(20240611u);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto chance = [&](float p) { return unit(random) < p; };
    const std::int32_t boneCount = 12;
    SceneDoc doc;
    for (std::int32_t i = 0; i < boneCount; ++i) {
        DocBone& bone = *addBone(doc);
        bone.host_node = nodeAt(i);
        // Mostly earlier bones as parents, with hostile ones mixed in.
        const std::int32_t hostile[] = {-1, -5, i, boneCount, 1 << 30};
        bone.parent = chance(0.3f) ? hostile[random() % 5]
                                   : static_cast<std::int32_t>(random() % (i + 1)) - 1;
        bone.mesh = chance(0.5f) ? static_cast<std::int32_t>(random() % 4) : -1;
    }
    struct MeshSetup {
        int node;
        int skinned;
    };
    const MeshSetup setups[] = {{3, 1}, {7, 1}, {11, 0}, {kBonelessNode, 1}, {kNoHostNode, 1}};
    std::vector<std::vector<bool>> startedEmpty;
    for (const MeshSetup& setup : setups) {
        DocMesh& mesh = *addMesh(doc);
        mesh.host_node = setup.node == kNoHostNode ? nullptr : nodeAt(setup.node);
        mesh.weights_flag = setup.skinned;
        mesh.vertices.resize(400);
        startedEmpty.emplace_back();
        for (DocVertex& vertex : mesh.vertices) {
            const int entries = static_cast<int>(random() % 7);
            for (int e = 0; e < entries; ++e) {
                const std::int32_t bone = static_cast<std::int32_t>(random() % 16) - 2;
                float weight = unit(random) * 1.5f;
                if (chance(0.15f)) {
                    weight = 0.00005f;
                }
                if (chance(0.2f)) {
                    addWeight(vertex, bone, weight); // a duplicate entry
                }
                addWeight(vertex, bone, weight);
            }
            startedEmpty.back().push_back(vertex.weights.empty());
        }
    }

    prepare::prepareSkinWeights(doc);
    int weighted = 0;
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        const DocMesh& mesh = doc.meshes[m];
        const bool hasOwnBone = setups[m].node >= 0 && setups[m].node < boneCount;
        for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
            const DocVertex& vertex = mesh.vertices[v];
            if (hasOwnBone && startedEmpty[m][v]) {
                ASSERT_EQ(vertex.weights.size(), 1u) << m << ":" << v;
                EXPECT_EQ(vertex.weights[0].weight, 1.0f);
            }
            if (vertex.weights.empty()) {
                continue;
            }
            ++weighted;
            double sum = 0.0;
            for (std::uint32_t i = 0; i < vertex.weights.size(); ++i) {
                const DocWeight& w = vertex.weights[i];
                EXPECT_TRUE(std::isfinite(w.weight) && w.weight > 0.0f) << m << ":" << v;
                EXPECT_TRUE(w.bone >= 0 && w.bone < boneCount) << m << ":" << v;
                if (i > 0) {
                    EXPECT_LE(w.weight, vertex.weights[i - 1].weight) << m << ":" << v;
                }
                sum += w.weight;
            }
            EXPECT_NEAR(sum, 1.0, 1e-6) << m << ":" << v;
            // Loading a file normalises every vertex again: that must change
            // nothing, or a written vertex would not read back as it was.
            DocVertex again = vertex;
            normalizeWeights(again);
            for (std::uint32_t i = 0; i < vertex.weights.size(); ++i) {
                EXPECT_EQ(again.weights[i].weight, vertex.weights[i].weight) << m << ":" << v;
            }
        }
    }
    EXPECT_GT(weighted, 1500);
}

} // namespace
} // namespace yfx
