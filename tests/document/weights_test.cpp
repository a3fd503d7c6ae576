// Skin weight accumulation, removal, pruning, normalising and ordering.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "document/document.h"

namespace yfx {
namespace {

DocVertex vertexWith(std::initializer_list<DocWeight> weights) {
    DocVertex vertex;
    for (const DocWeight& w : weights) {
        DocWeight* slot = addWeightSlot(vertex);
        EXPECT_NE(slot, nullptr);
        EXPECT_EQ(slot->bone, -1);
        EXPECT_EQ(slot->weight, 0.0f);
        *slot = w;
    }
    return vertex;
}

std::vector<std::int32_t> bonesOf(const DocVertex& vertex) {
    std::vector<std::int32_t> bones;
    for (const DocWeight& w : vertex.weights) {
        bones.push_back(w.bone);
    }
    return bones;
}

TEST(AddWeight, SameBoneAccumulatesOthersAppend) {
    DocVertex vertex;
    DocWeight* first = addWeight(vertex, 3, 0.25f);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->contributions, 1);
    ASSERT_NE(addWeight(vertex, 5, 0.5f), nullptr);
    DocWeight* again = addWeight(vertex, 3, 0.5f);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->bone, 3);
    EXPECT_EQ(again->weight, 0.75f);
    EXPECT_EQ(again->contributions, 2);
    EXPECT_EQ(bonesOf(vertex), (std::vector<std::int32_t>{3, 5}));
}

TEST(AddWeight, ManyBonesSpillOutOfTheInlineBlock) {
    DocVertex vertex;
    for (int b = 0; b < 10; ++b) {
        ASSERT_NE(addWeight(vertex, b, 0.1f * static_cast<float>(b)), nullptr);
    }
    EXPECT_FALSE(vertex.weights.isInline());
    ASSERT_EQ(vertex.weights.size(), 10u);
    for (int b = 0; b < 10; ++b) {
        EXPECT_EQ(vertex.weights[static_cast<std::uint32_t>(b)].bone, b);
    }
    // Accumulation still finds an entry that lives in the heap block.
    ASSERT_NE(addWeight(vertex, 9, 0.1f), nullptr);
    EXPECT_EQ(vertex.weights.size(), 10u);
    EXPECT_EQ(vertex.weights[9].contributions, 2);
}

TEST(RemoveWeight, FindsTheBoneWhereverItIs) {
    // The first entry can be removed like any other.
    DocVertex vertex = vertexWith({{4, 0.5f, 1}, {2, 0.3f, 1}, {7, 0.2f, 1}});
    EXPECT_EQ(removeWeight(vertex, 4), 1);
    EXPECT_EQ(bonesOf(vertex), (std::vector<std::int32_t>{2, 7}));
    EXPECT_EQ(vertex.weights[0].weight, 0.3f);

    EXPECT_EQ(removeWeight(vertex, 7), 1);
    EXPECT_EQ(bonesOf(vertex), (std::vector<std::int32_t>{2}));

    EXPECT_EQ(removeWeight(vertex, 9), 0);
    EXPECT_EQ(bonesOf(vertex), (std::vector<std::int32_t>{2}));

    EXPECT_EQ(removeWeight(vertex, 2), 1);
    EXPECT_TRUE(vertex.weights.empty());
    EXPECT_EQ(removeWeight(vertex, 2), 0);
}

TEST(RemoveWeight, DropsEveryEntryOfTheBoneKeepingOrder) {
    DocVertex vertex = vertexWith(
        {{1, 0.1f, 1}, {5, 0.2f, 1}, {2, 0.3f, 1}, {5, 0.4f, 1}, {3, 0.5f, 1}, {6, 0.6f, 1}});
    EXPECT_EQ(removeWeight(vertex, 5), 1);
    EXPECT_EQ(bonesOf(vertex), (std::vector<std::int32_t>{1, 2, 3, 6}));
    EXPECT_EQ(vertex.weights[3].weight, 0.6f);
}

TEST(PruneWeights, DropsNoBoneAndTinyWeights) {
    DocVertex vertex =
        vertexWith({{1, 0.5f, 1}, {-1, 0.4f, 1}, {2, 0.00005f, 1}, {3, 0.0001f, 1}, {4, 0.2f, 1}});
    pruneWeights(vertex);
    // 0.0001 itself is not below the threshold and stays.
    EXPECT_EQ(bonesOf(vertex), (std::vector<std::int32_t>{1, 3, 4}));

    DocVertex tiny = vertexWith({{1, 0.00005f, 1}, {2, 0.00005f, 1}});
    pruneWeights(tiny);
    EXPECT_TRUE(tiny.weights.empty());

    DocVertex clean = vertexWith({{1, 0.5f, 1}, {2, 0.5f, 2}});
    pruneWeights(clean);
    ASSERT_EQ(clean.weights.size(), 2u);
    EXPECT_EQ(clean.weights[1].contributions, 2);
}

TEST(NormalizeWeights, ScalesUnlessTheSumIsOneOrZero) {
    DocVertex half = vertexWith({{1, 0.25f, 1}, {2, 0.25f, 1}});
    normalizeWeights(half);
    EXPECT_FLOAT_EQ(half.weights[0].weight, 0.5f);
    EXPECT_FLOAT_EQ(half.weights[1].weight, 0.5f);

    DocVertex one = vertexWith({{1, 0.75f, 1}, {2, 0.25f, 1}});
    normalizeWeights(one);
    EXPECT_EQ(one.weights[0].weight, 0.75f);

    DocVertex zero = vertexWith({{1, 0.0f, 1}, {2, 0.0f, 1}});
    normalizeWeights(zero);
    EXPECT_EQ(zero.weights[0].weight, 0.0f);
    EXPECT_FALSE(std::isnan(zero.weights[1].weight));

    // An entry without a bone ends at 0 and does not count in the sum.
    DocVertex orphan = vertexWith({{-1, 0.5f, 1}, {3, 0.2f, 1}, {4, 0.2f, 1}});
    normalizeWeights(orphan);
    EXPECT_EQ(orphan.weights[0].weight, 0.0f);
    EXPECT_FLOAT_EQ(orphan.weights[1].weight, 0.5f);
    EXPECT_FLOAT_EQ(orphan.weights[2].weight, 0.5f);
}

TEST(WeightOrder, SortsLargestFirstAndIsStrict) {
    const DocWeight a{1, 0.5f, 1};
    const DocWeight b{2, 0.5f, 1};
    const DocWeight c{3, 0.7f, 1};
    EXPECT_TRUE(weightOrder(c, a));
    EXPECT_FALSE(weightOrder(a, c));
    EXPECT_FALSE(weightOrder(a, b));
    EXPECT_FALSE(weightOrder(b, a));

    DocVertex vertex =
        vertexWith({{1, 0.3f, 1}, {2, 0.3f, 1}, {3, 0.4f, 1}, {4, 0.1f, 1}, {5, 0.9f, 1}});
    std::stable_sort(vertex.weights.begin(), vertex.weights.end(), weightOrder);
    EXPECT_EQ(bonesOf(vertex), (std::vector<std::int32_t>{5, 3, 1, 2, 4}));
}

TEST(WeightOrder, NaNWeightsSortLast) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const DocWeight n{9, nan, 1};
    const DocWeight low{1, -1.0f, 1};
    EXPECT_TRUE(weightOrder(low, n));
    EXPECT_FALSE(weightOrder(n, low));
    EXPECT_FALSE(weightOrder(n, n));

    std::vector<DocWeight> weights;
    for (int i = 0; i < 200; ++i) {
        weights.push_back(DocWeight{i, i % 3 == 0 ? nan : static_cast<float>(i % 17), 1});
    }
    std::sort(weights.begin(), weights.end(), weightOrder);
    bool seenNaN = false;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        if (std::isnan(weights[i].weight)) {
            seenNaN = true;
        } else {
            EXPECT_FALSE(seenNaN) << "number after a NaN at " << i;
            if (i > 0) {
                EXPECT_GE(weights[i - 1].weight, weights[i].weight);
            }
        }
    }
}

TEST(ClearWeights, DocumentAndMeshVertices) {
    SceneDoc doc;
    ASSERT_EQ(allocateVertices(doc, 2), 1);
    ASSERT_EQ(allocateMeshes(doc, 2), 1);
    ASSERT_EQ(allocateMeshVertices(doc.meshes[0], 1), 1);
    ASSERT_EQ(allocateMeshVertices(doc.meshes[1], 1), 1);
    ASSERT_EQ(allocateWeights(doc.vertices[1], 6), 1);
    EXPECT_EQ(doc.vertices[1].weights.size(), 6u);
    ASSERT_NE(addWeight(doc.meshes[0].vertices[0], 1, 1.0f), nullptr);
    ASSERT_NE(addWeight(doc.meshes[1].vertices[0], 1, 1.0f), nullptr);

    clearMeshWeights(doc.meshes[0]);
    EXPECT_TRUE(doc.meshes[0].vertices[0].weights.empty());
    EXPECT_FALSE(doc.meshes[1].vertices[0].weights.empty());

    clearAllWeights(doc);
    EXPECT_TRUE(doc.vertices[1].weights.empty());
    EXPECT_TRUE(doc.meshes[1].vertices[0].weights.empty());
}

} // namespace
} // namespace yfx
