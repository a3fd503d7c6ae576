// Bone matrices, lengths, heads and tails.
#include <cmath>

#include <gtest/gtest.h>

#include "document/document.h"
#include "normalise/bone_transforms.h"
#include "util/matrix_math.h"

using namespace yfx;

namespace {

DocBone& bone(SceneDoc& doc, std::int32_t parent, float x, float y, float z) {
    DocBone* b = addBone(doc);
    b->parent = parent;
    b->position[0] = x;
    b->position[1] = y;
    b->position[2] = z;
    return *b;
}

void expectPoint(const float p[3], float x, float y, float z) {
    EXPECT_NEAR(p[0], x, 1e-5f);
    EXPECT_NEAR(p[1], y, 1e-5f);
    EXPECT_NEAR(p[2], z, 1e-5f);
}

} // namespace

TEST(BoneTransforms, WorldFollowsTheParentChainAndTailsTheLastChild) {
    SceneDoc doc;
    DocBone& root = bone(doc, -1, 1, 2, 3);
    const float s = std::sqrt(0.5f);
    root.rotation[2] = s; // 90 degrees about z
    root.rotation[3] = s;
    root.scale[0] = root.scale[1] = root.scale[2] = 2.0f;
    bone(doc, 0, 1, 0, 0); // x axis of the root: becomes +y, doubled
    bone(doc, 0, 0, 0, 1); // last child of the root
    bone(doc, 2, 0, 0, 3); // grandchild
    normalise::computeBoneTransforms(doc);

    expectPoint(doc.bones[0].head, 1, 2, 3);
    expectPoint(doc.bones[1].head, 1, 4, 3);
    expectPoint(doc.bones[2].head, 1, 2, 5);
    expectPoint(doc.bones[3].head, 1, 2, 11);
    expectPoint(doc.bones[0].tail, 1, 2, 5); // head of its last child
    expectPoint(doc.bones[2].tail, 1, 2, 11);
    expectPoint(doc.bones[1].tail, 1, 4, 3); // no child: its own head
    EXPECT_NEAR(doc.bones[0].length_to_parent, 0.0f, 1e-6f);
    EXPECT_NEAR(doc.bones[1].length_to_parent, 2.0f, 1e-5f);
    EXPECT_NEAR(doc.bones[3].length_to_parent, 6.0f, 1e-5f);
    EXPECT_NEAR(doc.bones[0].local_matrix[0], 0.0f, 1e-6f); // rotated and scaled
    EXPECT_NEAR(doc.bones[0].local_matrix[4], 2.0f, 1e-5f);
    EXPECT_NEAR(doc.bones[1].world_matrix[4], 2.0f, 1e-5f); // the root's rotation and scale
    for (const DocBone& b : doc.bones) {
        float product[16];
        multiply4x4(b.world_matrix, b.inverse_world_matrix, product);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(product[i], i % 5 == 0 ? 1.0f : 0.0f, 1e-5f);
        }
    }
}

TEST(BoneTransforms, BadParentsLeaveTheIdentityAndLaterParentsCountAsTheyStand) {
    SceneDoc doc;
    bone(doc, 1, 1, 0, 0); // parent comes later: its world is still the identity
    bone(doc, -1, 5, 0, 0);
    bone(doc, 2, 7, 0, 0);  // its own parent
    bone(doc, 40, 9, 0, 0); // names no bone
    normalise::computeBoneTransforms(doc);
    expectPoint(doc.bones[0].head, 1, 0, 0);
    expectPoint(doc.bones[1].tail, 1, 0, 0);
    expectPoint(doc.bones[2].head, 0, 0, 0);
    expectPoint(doc.bones[3].head, 0, 0, 0);
    EXPECT_EQ(doc.bones[3].length_to_parent, 0.0f);
    EXPECT_NEAR(doc.bones[0].length_to_parent, 4.0f, 1e-5f);
}
