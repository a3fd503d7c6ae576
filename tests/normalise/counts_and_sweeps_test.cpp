// Weight and face counts, weight normalisation and rotation-key continuity
// over the whole document.
#include <gtest/gtest.h>

#include "doc_builders.h"
#include "normalise/document_sweeps.h"
#include "normalise/use_counts.h"

using namespace yfx;

TEST(UseCounts, WeightReferencesAndFaceCountsAreCountedFromScratch) {
    SceneDoc doc;
    doc.bones.resize(3);
    doc.bones[1].weight_references = 9;
    passtest::addVertices(doc, 2);
    for (std::int32_t bone : {0, 2, 5, -1}) {
        addWeight(doc.vertices[0], bone, 0.25f);
    }
    addWeight(doc.vertices[1], 2, 1.0f);
    doc.materials.resize(2);
    doc.materials[0].face_count = 9;
    passtest::addMeshWith(
        doc, {passtest::makePolygon({0, 1, 0}, -1, 1), passtest::makePolygon({0, 1, 0}, -1, 2)});
    passtest::addMeshWith(doc, {passtest::makePolygon({0, 1, 0}, -1, 1)});
    normalise::countWeightAndFaceUse(doc);
    EXPECT_EQ(doc.bones[0].weight_references, 1);
    EXPECT_EQ(doc.bones[1].weight_references, 0);
    EXPECT_EQ(doc.bones[2].weight_references, 2);
    EXPECT_EQ(doc.materials[0].face_count, 0);
    EXPECT_EQ(doc.materials[1].face_count, 2);
}

TEST(DocumentSweeps, EveryVertexIsNormalisedAndEveryAnimationAligned) {
    SceneDoc doc;
    passtest::addVertices(doc, 3);
    addWeight(doc.vertices[0], 0, 0.5f);
    addWeight(doc.vertices[0], 1, 0.25f);
    addWeight(doc.vertices[1], 0, 0.75f);
    addWeight(doc.vertices[1], 1, 0.25f);
    addWeight(doc.vertices[2], -1, 0.5f);
    addWeight(doc.vertices[2], 1, 0.5f);
    normalise::normalizeWeights(doc);
    EXPECT_FLOAT_EQ(doc.vertices[0].weights[0].weight, 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(doc.vertices[0].weights[1].weight, 1.0f / 3.0f);
    EXPECT_EQ(doc.vertices[1].weights[0].weight, 0.75f); // sums to exactly 1
    EXPECT_EQ(doc.vertices[2].weights[0].weight, 0.0f);
    EXPECT_FLOAT_EQ(doc.vertices[2].weights[1].weight, 1.0f);

    const float q[4] = {0, 0, 0, 1};
    const float flipped[4] = {0, 0, 0, -1};
    for (int a = 0; a < 2; ++a) {
        DocAnimation* animation = addAnimation(doc);
        ASSERT_EQ(allocateTracks(*animation, 1), 1);
        addRotationKey(animation->tracks[0], 0.0f, q);
        addRotationKey(animation->tracks[0], 1.0f, flipped);
    }
    normalise::alignRotationKeys(doc);
    for (const DocAnimation& animation : doc.animations) {
        EXPECT_EQ(animation.tracks[0].rotation_keys[1].value[3], 1.0f);
    }
}
