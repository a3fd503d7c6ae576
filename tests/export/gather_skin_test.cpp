// Skin weights: which bindings and weight maps are taken, and what reaches
// the gathered vertices.
#include "gather_test_scene.h"

namespace gathertest {
namespace {

using SkinTest = GatherTest;

TEST_F(SkinTest, WeightMapsOfMatchingLengthGiveTheNonZeroWeightsOfTheirBones) {
    // Bones: Figure 0, Hip 1, Thigh 2, Spine 3, Doll 4, Arm 5. The figure's
    // four vertices are used by faces up to vertex 2 (highest vertex index 2).
    auto* figure = addNode<DzFigure>("Figure");
    auto* hip = addNode<DzBone>("Hip", figure);
    auto* thigh = addNode<DzBone>("Thigh", hip);
    auto* spine = addNode<DzBone>("Spine", hip);
    attachMesh(figure, facetMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}}, {{{0, 1, 2}, {}}}),
               {});
    DzBone outside; // no node of the scene
    // The vertex count; zero weights are not stored.
    bindBone(figure, hip, weightMap(4, {{0, 1.0f}, {1, 0.5f}}));
    // The highest vertex index + 1; a second binding of a bone adds up.
    bindBone(figure, thigh, weightMap(3, {{1, 0.5f}, {2, 0.25f}}));
    bindBone(figure, hip, weightMap(3, {{0, 0.5f}}));
    // The scale map goes before the general map.
    bindBone(figure, spine, weightMap(4, {{3, 1.0f}}), weightMap(4, {{3, 0.75f}}));
    // Other lengths, no map, no bone, a bone outside the scene: nothing.
    bindBone(figure, thigh, weightMap(5, {{3, 1.0f}}));
    bindBone(figure, thigh, weightMap(2, {{0, 1.0f}}));
    bindBone(figure, thigh, nullptr);
    bindBone(figure, nullptr, weightMap(4, {{3, 1.0f}}));
    bindBone(figure, &outside, weightMap(4, {{3, 1.0f}}));
    // A figure whose bindings store nothing, and a prop without skin.
    auto* doll = addNode<DzFigure>("Doll");
    auto* arm = addNode<DzBone>("Arm", doll);
    attachMesh(doll, facetMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}, {}}}), {});
    bindBone(doll, arm, weightMap(3, {}));
    bindBone(doll, &outside, weightMap(3, {{0, 1.0f}}));
    addTriangleNode("Prop");

    const yfx::SceneDoc& doc = gather();
    ASSERT_EQ(doc.meshes.size(), 3u);
    struct Weight {
        int bone;
        float weight;
        int contributions;
    };
    const std::vector<std::vector<Weight>> want = {
        {{1, 1.5f, 2}},
        {{1, 0.5f, 1}, {2, 0.5f, 1}},
        {{2, 0.25f, 1}},
        {{3, 0.75f, 1}},
    };
    const yfx::DocMesh& skinned = doc.meshes[0];
    EXPECT_EQ(skinned.weights_flag, 1);
    ASSERT_EQ(skinned.vertices.size(), want.size());
    for (std::size_t v = 0; v < want.size(); ++v) {
        const yfx::DocWeightList& weights = skinned.vertices[v].weights;
        ASSERT_EQ(weights.size(), want[v].size()) << "vertex " << v;
        for (std::size_t w = 0; w < want[v].size(); ++w) {
            EXPECT_EQ(weights[w].bone, want[v][w].bone) << "vertex " << v;
            EXPECT_NEAR(weights[w].weight, want[v][w].weight, 1e-4f) << "vertex " << v;
            EXPECT_EQ(weights[w].contributions, want[v][w].contributions) << "vertex " << v;
        }
    }
    for (const yfx::DocMesh* mesh : {&doc.meshes[1], &doc.meshes[2]}) {
        EXPECT_EQ(mesh->weights_flag, 0);
        for (const yfx::DocVertex& vertex : mesh->vertices) {
            EXPECT_TRUE(vertex.weights.empty());
        }
    }
}

} // namespace
} // namespace gathertest
