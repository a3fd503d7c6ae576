// Bounds of the vertex pool, transforms from host matrices and rotation key
// continuity.
#include <gtest/gtest.h>

#include <cmath>

#include "document/document.h"

namespace yfx {
namespace {

TEST(ComputeBounds, MinMaxSizeCentre) {
    SceneDoc doc;
    ASSERT_EQ(allocateVertices(doc, 3), 1);
    const float points[3][3] = {{1, -2, 3}, {-1, 4, 3}, {5, 0, -7}};
    for (int i = 0; i < 3; ++i) {
        for (int a = 0; a < 3; ++a) {
            doc.vertices[static_cast<std::size_t>(i)].position[a] = points[i][a];
        }
    }
    DocBounds bounds;
    bounds.unused = 42.0f;
    computeBounds(doc, bounds);
    EXPECT_EQ(bounds.minimum[0], -1.0f);
    EXPECT_EQ(bounds.minimum[1], -2.0f);
    EXPECT_EQ(bounds.minimum[2], -7.0f);
    EXPECT_EQ(bounds.maximum[0], 5.0f);
    EXPECT_EQ(bounds.maximum[1], 4.0f);
    EXPECT_EQ(bounds.maximum[2], 3.0f);
    EXPECT_EQ(bounds.size[0], 6.0f);
    EXPECT_EQ(bounds.size[2], 10.0f);
    EXPECT_EQ(bounds.centre[0], 2.0f);
    EXPECT_EQ(bounds.centre[1], 1.0f);
    EXPECT_EQ(bounds.centre[2], -2.0f);
    EXPECT_EQ(bounds.unused, 42.0f);
}

TEST(ComputeBounds, OneVertexAndEmptyPool) {
    SceneDoc doc;
    ASSERT_EQ(allocateVertices(doc, 1), 1);
    doc.vertices[0].position[1] = -3.0f;
    DocBounds bounds;
    computeBounds(doc, bounds);
    EXPECT_EQ(bounds.minimum[1], -3.0f);
    EXPECT_EQ(bounds.maximum[1], -3.0f);
    EXPECT_EQ(bounds.size[1], 0.0f);

    SceneDoc empty;
    bounds.unused = 9.0f;
    computeBounds(empty, bounds);
    EXPECT_EQ(bounds.minimum[1], 0.0f);
    EXPECT_EQ(bounds.maximum[1], 0.0f);
    EXPECT_EQ(bounds.centre[1], 0.0f);
    EXPECT_EQ(bounds.unused, 0.0f);
}

TEST(TransformFromHostMatrix, TranslationAndScale) {
    // Rows 0 to 2 the linear part (a scale of 2, 3, 4), row 3 the translation.
    const float host[12] = {2, 0, 0, 0, 3, 0, 0, 0, 4, 10, -20, 30};
    DocTransform t;
    t.euler[0] = 0.5f;
    transformFromHostMatrix(t, host);
    EXPECT_NEAR(t.position[0], 10.0f, 1e-5f);
    EXPECT_NEAR(t.position[1], -20.0f, 1e-5f);
    EXPECT_NEAR(t.position[2], 30.0f, 1e-5f);
    EXPECT_NEAR(t.scale[0], 2.0f, 1e-5f);
    EXPECT_NEAR(t.scale[1], 3.0f, 1e-5f);
    EXPECT_NEAR(t.scale[2], 4.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(t.quaternion[3]), 1.0f, 1e-5f);
    // Only position, scale and quaternion are filled.
    EXPECT_EQ(t.euler[0], 0.5f);
    EXPECT_EQ(t.matrix[3], 0.0f);
    EXPECT_EQ(t.axes[0], 1.0f);
}

TEST(TransformFromHostMatrix, RotationAboutZ) {
    // A quarter turn about z: x goes to y and y to -x. Host row c holds the
    // image of axis c.
    const float host[12] = {0, 1, 0, -1, 0, 0, 0, 0, 1, 1, 2, 3};
    DocTransform t;
    transformFromHostMatrix(t, host);
    const float s = std::sqrt(0.5f);
    EXPECT_NEAR(t.quaternion[0], 0.0f, 1e-5f);
    EXPECT_NEAR(t.quaternion[1], 0.0f, 1e-5f);
    EXPECT_NEAR(std::fabs(t.quaternion[2]), s, 1e-5f);
    EXPECT_NEAR(std::fabs(t.quaternion[3]), s, 1e-5f);
    EXPECT_NEAR(t.position[1], 2.0f, 1e-5f);
    EXPECT_NEAR(t.scale[0], 1.0f, 1e-5f);
}

TEST(TransformFromHostMatrix, MirrorNegatesTheScale) {
    const float host[12] = {-1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    DocTransform t;
    transformFromHostMatrix(t, host);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(t.scale[i], -1.0f, 1e-5f) << i;
    }
}

TEST(AlignRotationKeys, NegatesAgainstTheAdjustedPrevious) {
    DocAnimation animation;
    ASSERT_EQ(allocateTracks(animation, 2), 1);
    const float q0[4] = {0, 0, 0, 1};
    const float q1[4] = {0, 0, 0.1f, -0.99f}; // opposite hemisphere: flipped
    const float q2[4] = {0, 0, 0.2f, -0.98f}; // close to q1 as given, far from q1 flipped
    ASSERT_NE(addRotationKey(animation.tracks[0], 0.0f, q0), nullptr);
    ASSERT_NE(addRotationKey(animation.tracks[0], 1.0f, q1), nullptr);
    ASSERT_NE(addRotationKey(animation.tracks[0], 2.0f, q2), nullptr);
    const float single[4] = {0, 0, 0, -1};
    ASSERT_NE(addRotationKey(animation.tracks[1], 0.0f, single), nullptr);

    alignRotationKeys(animation);
    const std::vector<DocRotationKey>& keys = animation.tracks[0].rotation_keys;
    EXPECT_EQ(keys[0].value[3], 1.0f);
    EXPECT_EQ(keys[1].value[2], -0.1f);
    EXPECT_EQ(keys[1].value[3], 0.99f);
    EXPECT_EQ(keys[2].value[2], -0.2f);
    EXPECT_EQ(keys[2].value[3], 0.98f);
    EXPECT_EQ(keys[2].time, 2.0f);
    // The first key of a track is never changed.
    EXPECT_EQ(animation.tracks[1].rotation_keys[0].value[3], -1.0f);
}

} // namespace
} // namespace yfx
