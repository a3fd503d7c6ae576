// Bone transforms relative to the parent, animation keys per frame and
// relative to the rest pose, and animation frame ranges.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "document/document.h"
#include "normalise/bone_transforms.h"
#include "prepare/bone_locals.h"
#include "prepare/track_keys.h"
#include "util/matrix_math.h"

namespace yfx {
namespace {

using Mat = std::array<float, 16>;
using Vec3 = std::array<float, 3>;
using Quat = std::array<float, 4>;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const Quat kNoRotation = {0, 0, 0, 1};

Quat axisAngle(Vec3 axis, float degrees) {
    const float length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    const float half = degrees * 3.14159265f / 360.0f;
    const float s = std::sin(half) / length;
    return {axis[0] * s, axis[1] * s, axis[2] * s, std::cos(half)};
}

// Translation t, rotation q and scale s as one affine matrix.
Mat trs(Vec3 t, Quat q = kNoRotation, Vec3 s = {1, 1, 1}) {
    Mat m;
    quatToMatrix(q.data(), m.data());
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            m[4 * r + c] *= s[c];
        }
        m[4 * r + 3] = t[r];
    }
    return m;
}

Mat times(const Mat& a, const Mat& b) {
    Mat out;
    multiply4x4(a.data(), b.data(), out.data());
    return out;
}

// The host's four rows of three: element (r, c) goes to host row c.
void setHostMatrix(DocBone& bone, const Mat& m) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            bone.host_matrix[3 * c + r] = m[4 * r + c];
        }
    }
}

float maxDiff(const float* a, const float* b, int n) {
    float worst = 0.0f;
    for (int i = 0; i < n; ++i) {
        const float d = std::fabs(a[i] - b[i]);
        worst = std::isnan(d) ? kInf : std::fmax(worst, d);
    }
    return worst;
}

// Quaternions name the same rotation when they agree up to sign.
float rotationDiff(const float* a, const Quat& b) {
    const Quat negated = {-b[0], -b[1], -b[2], -b[3]};
    return std::fmin(maxDiff(a, b.data(), 4), maxDiff(a, negated.data(), 4));
}

bool allFinite(const float* v, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(v[i])) {
            return false;
        }
    }
    return true;
}

Quat hamilton(const Quat& a, const Quat& b) {
    return {a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1],
            a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0],
            a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3],
            a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2]};
}

TEST(BoneLocals, LocalsComposedWithParentWorldsRebuildTheHostMatrices) {
    struct Spec {
        std::int32_t parent;
        Mat local;
    };
    const std::vector<Spec> specs = {
        {-1, trs({1, 2, 3}, axisAngle({0, 0, 1}, 30))},
        {0, trs({0, 2, 0}, axisAngle({1, 0, 0}, 45), {2, 0.5f, 1})},
        {1, trs({0.5f, 1, -1}, axisAngle({1, 1, 0}, 70), {1, 3, 0.25f})},
        {0, trs({2, 0, 0}, axisAngle({0, 1, 0}, 20), {-1, 1, 1})}, // mirrored
        {3, trs({0, 1, 0}, axisAngle({0, 0, 1}, -60), {1.5f, 1.5f, 1.5f})},
        {2, trs({-3, 0.25f, 2}, axisAngle({2, -1, 3}, 130), {0.75f, 1.25f, 2})},
    };
    SceneDoc doc;
    std::vector<Mat> worlds;
    for (const Spec& spec : specs) {
        worlds.push_back(spec.parent < 0 ? spec.local : times(worlds[spec.parent], spec.local));
        DocBone& bone = *addBone(doc);
        bone.parent = spec.parent;
        setHostMatrix(bone, worlds.back());
    }

    prepare::computeBoneLocals(doc);
    for (std::size_t i = 0; i < specs.size(); ++i) {
        EXPECT_LT(maxDiff(doc.bones[i].world_matrix, worlds[i].data(), 16), 1e-6f) << i;
        EXPECT_LT(maxDiff(doc.bones[i].local_matrix, specs[i].local.data(), 16), 1e-5f) << i;
    }
    EXPECT_LT(doc.bones[3].scale[0] * doc.bones[3].scale[1] * doc.bones[3].scale[2], 0.0f);

    // Position, rotation and scale alone, composed down the chain, give back
    // every host matrix.
    normalise::computeBoneTransforms(doc);
    for (std::size_t i = 0; i < specs.size(); ++i) {
        EXPECT_LT(maxDiff(doc.bones[i].world_matrix, worlds[i].data(), 16), 2e-4f) << i;
    }
}

TEST(BoneLocals, ParentIndicesThatNameNoOtherBoneCountAsNone) {
    // Bones 0 and 2 are the same possible parent; 2 follows its child.
    for (const std::int32_t parent : {0, 2, -1, -7, 1, 3, 1000, INT32_MIN}) {
        SceneDoc doc;
        for (const Mat& world : {trs({5, 0, 0}, kNoRotation, {2, 2, 2}), trs({1, 2, 3}),
                                 trs({5, 0, 0}, kNoRotation, {2, 2, 2})}) {
            setHostMatrix(*addBone(doc), world);
        }
        doc.bones[1].parent = parent;
        prepare::computeBoneLocals(doc);
        const bool related = parent == 0 || parent == 2;
        const Vec3 position = related ? Vec3{-2, 1, 1.5f} : Vec3{1, 2, 3};
        const float scale = related ? 0.5f : 1.0f;
        EXPECT_LT(maxDiff(doc.bones[1].position, position.data(), 3), 1e-5f) << parent;
        EXPECT_NEAR(doc.bones[1].scale[1], scale, 1e-5f) << parent;
    }
}

TEST(BoneLocals, DegenerateHostMatricesLeaveOnlyFiniteParts) {
    // A parent with a denormal x scale but a determinant far from 0: its
    // inverse overflows, so the child's local matrix would hold infinities.
    const Mat overflowing = trs({0, 0, 0}, kNoRotation, {1e-39f, 1e10f, 1e10f});
    float inverse[16];
    invert4x4(overflowing.data(), inverse);
    ASSERT_FALSE(allFinite(inverse, 16)) << "the last case must overflow";
    Mat nanLinear = trs({7, 8, 9});
    nanLinear[5] = kNaN;
    Mat infLinear = trs({7, 8, 9});
    infLinear[2] = -kInf;
    Mat nanTranslation = trs({0, 0, 0}, axisAngle({0, 0, 1}, 90), {2, 2, 2});
    nanTranslation[7] = kNaN;

    struct Case {
        const char* name;
        Mat parent;
        Vec3 parentPosition;
        Vec3 parentScale; // NaN: any finite value
        Vec3 childPosition;
    };
    // clang-format off
    const Case cases[] = {
        {"bone scaled to zero", trs({1, 2, 3}, kNoRotation, {0, 0, 0}), {1, 2, 3}, {0, 0, 0}, {4, 5, 6}},
        {"one axis scaled to zero", trs({1, 2, 3}, kNoRotation, {1, 0, 1}), {1, 2, 3}, {1, 0, 1}, {4, 5, 6}},
        {"NaN in the linear part", nanLinear, {7, 8, 9}, {1, 1, 1}, {-3, -3, -3}},
        {"infinity in the linear part", infLinear, {7, 8, 9}, {1, 1, 1}, {-3, -3, -3}},
        {"NaN translation", nanTranslation, {0, 0, 0}, {2, 2, 2}, {2.5f, -2, 3}},
        {"overflowing inverse", overflowing, {0, 0, 0}, {kNaN, kNaN, kNaN}, {0, 0, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SceneDoc doc;
        setHostMatrix(*addBone(doc), c.parent);
        setHostMatrix(*addBone(doc), trs({4, 5, 6}));
        doc.bones[1].parent = 0;
        prepare::computeBoneLocals(doc);
        for (const DocBone& bone : doc.bones) {
            EXPECT_TRUE(allFinite(bone.position, 3) && allFinite(bone.rotation, 4) &&
                        allFinite(bone.scale, 3) && allFinite(bone.local_matrix, 16) &&
                        allFinite(bone.world_matrix, 16))
                << c.name;
        }
        EXPECT_LT(maxDiff(doc.bones[0].position, c.parentPosition.data(), 3), 1e-5f) << c.name;
        EXPECT_LT(maxDiff(doc.bones[1].position, c.childPosition.data(), 3), 1e-4f) << c.name;
        for (int a = 0; a < 3; ++a) {
            if (!std::isnan(c.parentScale[a])) {
                EXPECT_NEAR(doc.bones[0].scale[a], c.parentScale[a], 1e-5f) << c.name;
            }
        }
    }
}

void setFrame(DocTrack& track, const Mat& local, float time, std::int32_t parent = -1) {
    std::copy(local.begin(), local.end(), track.local_matrix);
    track.sample_time = time;
    track.parent = parent;
}

TEST(CaptureTrackKeys, EachFrameAddsKeysRelativeToTheParentTrack) {
    DocAnimation animation;
    animation.tracks.resize(4);
    const Mat childLocal = trs({0, 2, 0}, axisAngle({1, 0, 0}, 30), {1, 2, 3});
    const Mat loose = trs({3, 3, 3}, axisAngle({0, 1, 0}, 10));
    for (int frame = 0; frame < 3; ++frame) {
        const float f = static_cast<float>(frame);
        const Mat root = trs({1, 0, f}, axisAngle({0, 0, 1}, 40.0f * f), {2, 2, 2});
        setFrame(animation.tracks[0], root, f / 30.0f);
        setFrame(animation.tracks[1], times(root, childLocal), f / 30.0f, 0);
        setFrame(animation.tracks[2], loose, f / 30.0f, 7); // names no track
        setFrame(animation.tracks[3], loose, f / 30.0f, 3); // itself
        prepare::captureTrackKeys(animation);
    }
    for (const DocTrack& track : animation.tracks) {
        ASSERT_EQ(track.position_keys.size(), 3u);
        ASSERT_EQ(track.rotation_keys.size(), 3u);
        ASSERT_EQ(track.scale_keys.size(), 3u);
        EXPECT_EQ(track.position_keys[2].time, 2.0f / 30.0f);
        EXPECT_EQ(track.rotation_keys[2].time, 2.0f / 30.0f);
        EXPECT_EQ(track.scale_keys[2].time, 2.0f / 30.0f);
    }
    const DocTrack& root = animation.tracks[0];
    EXPECT_LT(maxDiff(root.position_keys[2].value, Vec3{1, 0, 2}.data(), 3), 1e-5f);
    EXPECT_LT(rotationDiff(root.rotation_keys[2].value, axisAngle({0, 0, 1}, 80)), 1e-5f);
    EXPECT_LT(maxDiff(root.scale_keys[2].value, Vec3{2, 2, 2}.data(), 3), 1e-5f);
    const DocTrack& child = animation.tracks[1];
    for (std::size_t f = 0; f < 3; ++f) {
        EXPECT_LT(maxDiff(child.position_keys[f].value, Vec3{0, 2, 0}.data(), 3), 1e-5f) << f;
        EXPECT_LT(rotationDiff(child.rotation_keys[f].value, axisAngle({1, 0, 0}, 30)), 1e-5f);
        EXPECT_LT(maxDiff(child.scale_keys[f].value, Vec3{1, 2, 3}.data(), 3), 1e-5f) << f;
    }
    EXPECT_LT(maxDiff(child.global_matrix, childLocal.data(), 16), 1e-5f);
    for (std::size_t t = 2; t < 4; ++t) {
        EXPECT_LT(maxDiff(animation.tracks[t].position_keys[1].value, Vec3{3, 3, 3}.data(), 3),
                  1e-5f);
    }
}

TEST(CaptureTrackKeys, DegenerateFramesGiveFiniteKeys) {
    DocAnimation animation;
    animation.tracks.resize(4);
    Mat broken = trs({kNaN, 0, 0});
    broken[0] = kInf;
    setFrame(animation.tracks[0], broken, kNaN);
    setFrame(animation.tracks[1], trs({1, 2, 3}, kNoRotation, {0, 0, 0}), 0.5f, 0);
    setFrame(animation.tracks[2], trs({4, 5, 6}), 0.5f, 1);
    animation.tracks[2].local_matrix[15] = kNaN; // row 3 of an affine matrix is fixed
    setFrame(animation.tracks[3], trs({0, 0, 0}), 0.5f, 2);
    prepare::captureTrackKeys(animation);

    for (const DocTrack& track : animation.tracks) {
        ASSERT_EQ(track.position_keys.size(), 1u);
        EXPECT_TRUE(std::isfinite(track.position_keys[0].time));
        EXPECT_TRUE(allFinite(track.position_keys[0].value, 3) &&
                    allFinite(track.rotation_keys[0].value, 4) &&
                    allFinite(track.scale_keys[0].value, 3) && allFinite(track.global_matrix, 16));
    }
    const DocTrack& first = animation.tracks[0];
    EXPECT_EQ(first.position_keys[0].time, 0.0f);
    EXPECT_LT(maxDiff(first.position_keys[0].value, Vec3{0, 0, 0}.data(), 3), 1e-6f);
    EXPECT_LT(maxDiff(first.rotation_keys[0].value, kNoRotation.data(), 4), 1e-6f);
    EXPECT_LT(maxDiff(first.scale_keys[0].value, Vec3{1, 1, 1}.data(), 3), 1e-6f);
    // The repaired root counts as the identity; the collapsed track keeps its
    // position, and its child is taken as it stands.
    EXPECT_LT(maxDiff(animation.tracks[1].position_keys[0].value, Vec3{1, 2, 3}.data(), 3), 1e-6f);
    EXPECT_LT(maxDiff(animation.tracks[2].position_keys[0].value, Vec3{4, 5, 6}.data(), 3), 1e-6f);
}

TEST(KeysRelativeToRest, KeysBecomeOffsetsFromTheRestPose) {
    const Quat rz90 = axisAngle({0, 0, 1}, 90);
    const Quat rx30 = axisAngle({1, 0, 0}, 30);
    const Quat odd = axisAngle({1, -2, 0.5f}, 77);
    struct Case {
        const char* name;
        Vec3 restPosition;
        Quat restRotation;
        Vec3 restScale;
        Vec3 position, wantPosition;
        Quat rotation, wantRotation;
        Vec3 scale, wantScale;
    };
    // Rest position, rotation, scale; then each key kind as given and as wanted.
    // clang-format off
    const Case cases[] = {
        {"the rest pose itself", {1, 2, 3}, odd, {2, 4, 0.5f},
         {1, 2, 3}, {0, 0, 0}, odd, kNoRotation, {2, 4, 0.5f}, {1, 1, 1}},
        {"offsets in the bone's frame", {1, 2, 3}, rz90, {2, 4, 0.5f},
         {1, 3, 3}, {1, 0, 0}, hamilton(rz90, rx30), rx30, {4, 4, 1}, {2, 1, 2}},
        {"rest scale component 0 divides nothing", {0, 0, 0}, kNoRotation, {0, 1, 2},
         {0, 0, 0}, {0, 0, 0}, kNoRotation, kNoRotation, {3, 2, 2}, {3, 2, 1}},
        {"tiny rest scale overflows", {0, 0, 0}, kNoRotation, {1e-40f, 1, 1},
         {5, 0, 0}, {5, 0, 0}, kNoRotation, kNoRotation, {2, 2, 2}, {1, 1, 1}},
        {"rest rotation of length 0", {0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1},
         {0, 0, 0}, {0, 0, 0}, rx30, rx30, {1, 1, 1}, {1, 1, 1}},
        {"offset overflows", {-3e38f, 0, 0}, kNoRotation, {1, 1, 1},
         {3e38f, 1, 1}, {0, 0, 0}, rx30, rx30, {1, 1, 1}, {1, 1, 1}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SceneDoc doc;
        DocBone& bone = *addBone(doc);
        std::copy(c.restPosition.begin(), c.restPosition.end(), bone.position);
        std::copy(c.restRotation.begin(), c.restRotation.end(), bone.rotation);
        std::copy(c.restScale.begin(), c.restScale.end(), bone.scale);
        DocAnimation animation;
        animation.tracks.resize(1);
        DocTrack& track = animation.tracks[0];
        addPositionKey(track, 0.25f, c.position.data());
        addRotationKey(track, 0.25f, c.rotation.data());
        addScaleKey(track, 0.25f, c.scale.data());

        prepare::keysRelativeToRest(doc, animation);
        const float* p = track.position_keys[0].value;
        EXPECT_LT(maxDiff(p, c.wantPosition.data(), 3), 1e-5f) << c.name;
        const float* r = track.rotation_keys[0].value;
        EXPECT_LT(maxDiff(r, c.wantRotation.data(), 4), 1e-5f) << c.name;
        EXPECT_LT(maxDiff(track.scale_keys[0].value, c.wantScale.data(), 3), 1e-5f) << c.name;
    }

    // Only an animation with exactly one track per bone changes.
    for (std::size_t tracks = 0; tracks <= 3; ++tracks) {
        SceneDoc doc;
        addBone(doc)->position[0] = 1.0f;
        addBone(doc)->position[0] = 1.0f;
        DocAnimation animation;
        animation.tracks.resize(tracks);
        const float key[3] = {4, 5, 6};
        for (DocTrack& track : animation.tracks) {
            addPositionKey(track, 0.0f, key);
        }
        prepare::keysRelativeToRest(doc, animation);
        for (const DocTrack& track : animation.tracks) {
            EXPECT_EQ(track.position_keys[0].value[0], tracks == 2 ? 3.0f : 4.0f) << tracks;
        }
    }
}

TEST(SetAnimationFrameRange, RangeFollowsTheKeyTimes) {
    using Times = std::vector<float>;
    struct Case {
        const char* name;
        Times position, rotation, scale; // key times of each kind, on every track
        int trackCount;
        float fps, wantFps, wantStart, wantEnd;
        float shift; // subtracted from every key time
    };
    const Case cases[] = {
        {"negative times move to 0", {-0.5f, 1.0f}, {0.0f, 1.5f}, {0.5f}, 2, 30, 30, 0, 60, -0.5f},
        {"earliest key a scale key", {0.0f}, {1.0f}, {-0.25f}, 1, 30, 30, 0, 37.5f, -0.25f},
        {"positive times stay", {0.5f, 1.0f}, {0.75f}, {}, 2, 24, 24, 12, 24, 0},
        {"frame rate 0 becomes 30", {0.0f}, {}, {2.0f}, 1, 0, 30, 0, 60, 0},
        {"frame rate not a number becomes 30", {1.0f}, {}, {}, 1, kNaN, 30, 30, 30, 0},
        {"tracks without keys", {}, {}, {}, 2, 30, 30, 0, 0, 0},
        {"no tracks", {}, {}, {}, 0, 25, 25, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SceneDoc doc;
        DocAnimation& animation = *addAnimation(doc);
        animation.frames_per_second = c.fps;
        animation.tracks.resize(static_cast<std::size_t>(c.trackCount));
        const float value[4] = {0, 0, 0, 1};
        for (DocTrack& track : animation.tracks) {
            for (float t : c.position) {
                addPositionKey(track, t, value);
            }
            for (float t : c.rotation) {
                addRotationKey(track, t, value);
            }
            for (float t : c.scale) {
                addScaleKey(track, t, value);
            }
        }
        prepare::setAnimationFrameRange(doc);
        EXPECT_EQ(animation.frames_per_second, c.wantFps) << c.name;
        EXPECT_NEAR(animation.start_frame, c.wantStart, 1e-4f) << c.name;
        EXPECT_NEAR(animation.end_frame, c.wantEnd, 1e-4f) << c.name;
        auto expectShifted = [&](const auto& keys, const Times& times) {
            ASSERT_EQ(keys.size(), times.size()) << c.name;
            for (std::size_t i = 0; i < keys.size(); ++i) {
                EXPECT_EQ(keys[i].time, times[i] - c.shift) << c.name;
            }
        };
        for (const DocTrack& track : animation.tracks) {
            expectShifted(track.position_keys, c.position);
            expectShifted(track.rotation_keys, c.rotation);
            expectShifted(track.scale_keys, c.scale);
        }
    }
}

} // namespace
} // namespace yfx
