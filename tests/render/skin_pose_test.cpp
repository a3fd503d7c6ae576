// Posing a skinned document at a frame: keys taken relative to each bone's
// rest pose, chained from parent to child, vertices following their weights.
#include <gtest/gtest.h>

#include <cmath>

#include "normalise/bone_transforms.h"
#include "render/skin_pose.h"
#include "render_docs.h"

namespace {

using namespace rendertest;

const float kHalf = std::sqrt(0.5f);
const float kTurnZ[4] = {0, 0, kHalf, kHalf}; // 90 degrees about z
const float kNoTurn[4] = {0, 0, 0, 1};

struct Weighted {
    Point position;
    std::vector<std::pair<std::int32_t, float>> weights;
};

// Bone 0 at the origin, bone 1 one unit up, turned 90 degrees about z at
// rest; one animation at 30 frames a second with a track per bone.
yfx::SceneDoc twoBoneDoc(const std::vector<Weighted>& vertices) {
    yfx::SceneDoc doc;
    yfx::DocBone* root = yfx::addBone(doc);
    root->parent = -1;
    yfx::DocBone* arm = yfx::addBone(doc);
    arm->parent = 0;
    arm->position[1] = 1;
    std::copy(kTurnZ, kTurnZ + 4, arm->rotation);
    yfx::normalise::computeBoneTransforms(doc);
    yfx::DocAnimation* animation = yfx::addAnimation(doc);
    animation->frames_per_second = 30;
    animation->tracks.resize(2);
    for (const Weighted& w : vertices) {
        addVertex(doc, w.position);
        for (const auto& bw : w.weights) {
            yfx::DocWeight weight;
            weight.bone = bw.first, weight.weight = bw.second;
            doc.vertices.back().weights.push_back(weight);
        }
    }
    return doc;
}

TEST(SkinPose, VerticesFollowTheirBonesKeysAtTheFrame) {
    const float far = 1e30f;
    const std::vector<Weighted> vertices = {
        {{0, 2, 0}, {{1, 1.0f}}},            // on the arm
        {{0, 2, 0}, {{0, 0.5f}, {1, 0.5f}}}, // half root, half arm
        {{0, 2, 0}, {{0, 1.0f}}},            // on the root
        {{0, 2, 0}, {{9, 0.5f}, {1, 0.5f}}}, // a weight naming no bone is passed over
        {{0, 2, 0}, {{-1, 1.0f}}},           // nothing usable: stays
        {{0, 2, 0}, {}},                     // no weights: stays
        {{far, 0, 0}, {{1, 1.0f}}},          // far away, still finite or not: no harm
    };
    struct Case {
        const char* name;
        void (*key)(yfx::DocAnimation&);
        double frame;
        Point expected[6];
    };
    const Case cases[] = {
        {"rotation key on the arm, at its end",
         [](yfx::DocAnimation& a) {
             yfx::addRotationKey(a.tracks[1], 0.0f, kNoTurn);
             yfx::addRotationKey(a.tracks[1], 1.0f, kTurnZ);
         },
         30,
         {{-1, 1, 0}, {-0.5f, 1.5f, 0}, {0, 2, 0}, {-1, 1, 0}, {0, 2, 0}, {0, 2, 0}}},
        {"the same half way",
         [](yfx::DocAnimation& a) {
             yfx::addRotationKey(a.tracks[1], 0.0f, kNoTurn);
             yfx::addRotationKey(a.tracks[1], 1.0f, kTurnZ);
         },
         15,
         {{-kHalf, 1 + kHalf, 0},
          {-kHalf / 2, 2 - (1 - kHalf) / 2, 0},
          {0, 2, 0},
          {-kHalf, 1 + kHalf, 0},
          {0, 2, 0},
          {0, 2, 0}}},
        {"the same at frame 0: the rest pose",
         [](yfx::DocAnimation& a) {
             yfx::addRotationKey(a.tracks[1], 0.0f, kNoTurn);
             yfx::addRotationKey(a.tracks[1], 1.0f, kTurnZ);
         },
         0,
         {{0, 2, 0}, {0, 2, 0}, {0, 2, 0}, {0, 2, 0}, {0, 2, 0}, {0, 2, 0}}},
        {"position key along the arm's rest rotation",
         [](yfx::DocAnimation& a) {
             const float d[3] = {1, 0, 0};
             yfx::addPositionKey(a.tracks[1], 0.0f, d);
         },
         10,
         {{0, 3, 0}, {0, 2.5f, 0}, {0, 2, 0}, {0, 3, 0}, {0, 2, 0}, {0, 2, 0}}},
        {"the root's turn carries the arm",
         [](yfx::DocAnimation& a) { yfx::addRotationKey(a.tracks[0], 0.0f, kTurnZ); },
         5,
         {{-2, 0, 0}, {-2, 0, 0}, {-2, 0, 0}, {-2, 0, 0}, {0, 2, 0}, {0, 2, 0}}},
        {"scale key on the arm",
         [](yfx::DocAnimation& a) {
             const float k[3] = {2, 2, 2};
             yfx::addScaleKey(a.tracks[1], 0.0f, k);
         },
         3,
         {{0, 3, 0}, {0, 2.5f, 0}, {0, 2, 0}, {0, 3, 0}, {0, 2, 0}, {0, 2, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        yfx::SceneDoc doc = twoBoneDoc(vertices);
        c.key(doc.animations[0]);
        std::vector<float> posed;
        yfx::render::posedPositions(doc, c.frame, posed);
        ASSERT_EQ(posed.size(), 3 * vertices.size());
        for (std::size_t v = 0; v < 6; ++v) {
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(posed[3 * v + std::size_t(k)], c.expected[v][std::size_t(k)], 1e-4)
                    << "vertex " << v << " axis " << k;
            }
        }
    }
}

TEST(SkinPose, WithoutAnimationOrAtAnUnusableFrameTheRestPoseStays) {
    yfx::SceneDoc doc = twoBoneDoc({{{0, 2, 0}, {{1, 1.0f}}}});
    yfx::addRotationKey(doc.animations[0].tracks[1], 0.0f, kTurnZ);
    std::vector<float> posed;
    yfx::render::posedPositions(doc, std::nan(""), posed);
    EXPECT_EQ(posed, (std::vector<float>{0, 2, 0}));
    doc.animations.clear();
    yfx::render::posedPositions(doc, 10, posed);
    EXPECT_EQ(posed, (std::vector<float>{0, 2, 0}));
}

} // namespace
