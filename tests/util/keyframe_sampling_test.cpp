#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "util/keyframe_sampling.h"

namespace {

using yfx::DocAnimation;
using yfx::DocTrack;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// One track whose position keys are (time, value, -value, 2 value), whose
// scale keys are the same times with (value, 1, 1), and whose rotation keys
// turn about z by value radians.
DocTrack trackOf(const std::vector<std::pair<float, float>>& keys) {
    DocTrack track;
    for (const auto& [time, value] : keys) {
        track.position_keys.push_back({time, {value, -value, 2 * value}});
        track.scale_keys.push_back({time, {value, 1, 1}});
        track.rotation_keys.push_back({time, {0, 0, std::sin(value / 2), std::cos(value / 2)}});
    }
    return track;
}

DocAnimation animationOf(std::vector<DocTrack> tracks) {
    DocAnimation animation;
    animation.tracks = std::move(tracks);
    return animation;
}

float positionX(const DocAnimation& animation, float time) {
    float out[3];
    yfx::sampleTrackPosition(animation, 0, time, out);
    EXPECT_EQ(out[1], -out[0]);
    return out[0];
}

float rotationAngle(const DocAnimation& animation, float time) {
    float q[4];
    yfx::sampleTrackRotation(animation, 0, time, q);
    return 2 * std::atan2(q[2], q[3]);
}

bool sameBits(const float* a, const float* b, int count) {
    return std::memcmp(a, b, sizeof(float) * static_cast<std::size_t>(count)) == 0;
}

} // namespace

// The scan's rules on small tracks: the first key not before t, its
// predecessor, the clamped fraction, equal times spanning 1, and NaN times.
TEST(KeyframeSampling, PositionFollowsTheScan) {
    struct Case {
        const char* what;
        std::vector<std::pair<float, float>> keys;
        float time;
        float expected;
    };
    const std::vector<Case> cases = {
        {"one key, before", {{1, 7}}, -3, 7},
        {"one key, after", {{1, 7}}, 100, 7},
        {"one key, NaN time", {{1, 7}}, kNaN, 7},
        {"before the first key", {{1, 10}, {2, 20}}, 0, 10},
        {"after the last key", {{1, 10}, {2, 20}}, 5, 20},
        {"between", {{1, 10}, {3, 20}}, 1.5f, 12.5f},
        {"on a key", {{0, 0.1f}, {1, 0.3f}, {2, 0.7f}}, 1, 0.3f},
        {"on the first key", {{0, 0.1f}, {1, 0.3f}}, 0, 0.1f},
        {"minus infinity", {{0, 1}, {1, 2}}, -kInf, 1},
        {"plus infinity", {{0, 1}, {1, 2}}, kInf, 2},
        // Equal times: span 1, so the fraction is t - time, clamped.
        {"equal times, on them", {{1, 10}, {1, 20}}, 1, 10},
        {"equal times, after", {{1, 10}, {1, 20}}, 1.25f, 20},
        {"three equal times", {{0, 0}, {1, 10}, {1, 20}}, 1, 10},
        // A NaN time finds no key not before it: the last key.
        {"NaN time", {{0, 1}, {1, 2}, {2, 3}}, kNaN, 3},
        // A key with a NaN time is never the one found; as the earlier key
        // its fraction is NaN and the later key is taken.
        {"NaN key passed over", {{0, 0}, {kNaN, 50}, {2, 20}}, 1, 20},
        {"NaN last key", {{0, 0}, {kNaN, 50}}, 3, 50},
        {"infinite key times", {{-kInf, 1}, {kInf, 2}}, 0, 2},
        // Unsorted keys keep the scan's answer: the first key whose time is
        // >= t, whatever follows it.
        {"unsorted, first key found", {{5, 50}, {1, 10}, {10, 100}}, 2, 50},
        {"unsorted, between later keys", {{5, 50}, {1, 10}, {10, 100}}, 5.5f, 55},
        {"unsorted, backwards span", {{5, 50}, {9, 90}, {3, 30}}, 8, 50 + 40 * 0.75f},
    };
    for (const Case& c : cases) {
        const DocAnimation animation = animationOf({trackOf(c.keys)});
        EXPECT_FLOAT_EQ(positionX(animation, c.time), c.expected) << c.what;
        float scale[3];
        yfx::sampleTrackScale(animation, 0, c.time, scale);
        EXPECT_FLOAT_EQ(scale[0], c.expected) << c.what;
    }
}

TEST(KeyframeSampling, RotationSlerpsBetweenKeysAndReturnsKeysUnchanged) {
    const float quarter = 1.5707964f;
    const DocAnimation animation = animationOf({trackOf({{0, 0}, {2, quarter}, {4, 3 * quarter}})});
    EXPECT_NEAR(rotationAngle(animation, 1), quarter / 2, 1e-6f);
    EXPECT_NEAR(rotationAngle(animation, 3.5f), 2.5f * quarter, 1e-5f);
    // On, before and after keys the key itself comes back, sign and all.
    const DocTrack& track = animation.tracks[0];
    for (const auto& [time, key] :
         std::vector<std::pair<float, int>>{{-1, 0}, {0, 0}, {2, 1}, {4, 2}, {9, 2}, {kNaN, 2}}) {
        float q[4];
        yfx::sampleTrackRotation(animation, 0, time, q);
        EXPECT_TRUE(sameBits(q, track.rotation_keys[static_cast<std::size_t>(key)].value, 4))
            << "time " << time;
    }
}

TEST(KeyframeSampling, MissingTracksAndListsGiveTheNeutralValues) {
    DocTrack onlyPositions;
    onlyPositions.position_keys.push_back({0, {1, 2, 3}});
    const DocAnimation animation = animationOf({onlyPositions});
    const DocAnimation empty;
    struct Case {
        const DocAnimation* animation;
        std::int32_t track;
        bool hasPosition;
    };
    for (const Case& c : {Case{&animation, 0, true}, Case{&animation, 1, false},
                          Case{&animation, -1, false}, Case{&empty, 0, false}}) {
        float position[3];
        float rotation[4];
        float scale[3];
        yfx::sampleTrackPosition(*c.animation, c.track, 0.5f, position);
        yfx::sampleTrackRotation(*c.animation, c.track, 0.5f, rotation);
        yfx::sampleTrackScale(*c.animation, c.track, 0.5f, scale);
        const float expectedPosition[3] = {c.hasPosition ? 1.0f : 0.0f, c.hasPosition ? 2.0f : 0.0f,
                                           c.hasPosition ? 3.0f : 0.0f};
        const float identity[4] = {0, 0, 0, 1};
        const float unit[3] = {1, 1, 1};
        EXPECT_TRUE(sameBits(position, expectedPosition, 3)) << "track " << c.track;
        EXPECT_TRUE(sameBits(rotation, identity, 4)) << "track " << c.track;
        EXPECT_TRUE(sameBits(scale, unit, 3)) << "track " << c.track;

        yfx::TrackSampler sampler(*c.animation, c.track);
        sampler.position(0.5f, position);
        sampler.rotation(0.5f, rotation);
        sampler.scale(0.5f, scale);
        EXPECT_TRUE(sameBits(position, expectedPosition, 3)) << "track " << c.track;
        EXPECT_TRUE(sameBits(rotation, identity, 4)) << "track " << c.track;
        EXPECT_TRUE(sameBits(scale, unit, 3)) << "track " << c.track;
    }
}

TEST(KeyframeSampling, TimeRangeSpansEveryListOfEveryTrack) {
    struct Case {
        const char* what;
        std::vector<DocTrack> tracks;
        float start;
        float end;
    };
    DocTrack positions = trackOf({{0.5f, 0}, {2, 0}});
    positions.rotation_keys.clear();
    positions.scale_keys.clear();
    DocTrack rotationOnly;
    rotationOnly.rotation_keys.push_back({-1, {0, 0, 0, 1}});
    DocTrack scaleOnly;
    scaleOnly.scale_keys.push_back({7, {1, 1, 1}});
    DocTrack nanOnly = trackOf({{kNaN, 0}});
    DocTrack atTheLargestFloat = trackOf({{std::numeric_limits<float>::max(), 0}});
    const std::vector<Case> cases = {
        {"no tracks", {}, 0, 0},
        {"tracks without keys", {DocTrack{}, DocTrack{}}, 0, 0},
        {"only NaN times", {nanOnly}, 0, 0},
        {"every list counts", {positions, rotationOnly, scaleOnly, nanOnly}, -1, 7},
        {"the largest float is a time",
         {atTheLargestFloat},
         std::numeric_limits<float>::max(),
         std::numeric_limits<float>::max()},
    };
    for (const Case& c : cases) {
        float start = kNaN;
        float end = kNaN;
        yfx::animationTimeRange(animationOf(c.tracks), start, end);
        EXPECT_EQ(start, c.start) << c.what;
        EXPECT_EQ(end, c.end) << c.what;
    }
}

// The sampler against the plain functions, bit for bit, on random tracks
// (sorted, with repeated times, unsorted, with NaN times) at random times that
// mostly grow, sometimes repeat, sometimes go back and are sometimes NaN.
TEST(KeyframeSampling, SamplerMatchesThePlainScan) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int round = 0; round < 200; ++round) {
        const int keyCount = static_cast<int>(random() % 40);
        const int kind = round % 4; // sorted, repeated times, unsorted, NaN times
        std::vector<std::pair<float, float>> keys;
        float time = -2.0f + 4.0f * unit(random);
        for (int k = 0; k < keyCount; ++k) {
            if (kind == 2) {
                time = -5.0f + 10.0f * unit(random);
            } else if (kind != 1 || unit(random) < 0.5f) {
                time += unit(random);
            }
            const bool nanTime = kind == 3 && unit(random) < 0.2f;
            keys.push_back({nanTime ? kNaN : time, -3.0f + 6.0f * unit(random)});
        }
        DocTrack track = trackOf(keys);
        // Rotation keys on random axes, so slerp sees every sign and angle.
        for (auto& key : track.rotation_keys) {
            float length = 0.0f;
            for (float& v : key.value) {
                v = -1.0f + 2.0f * unit(random);
                length += v * v;
            }
            for (float& v : key.value) {
                v /= std::sqrt(length);
            }
        }
        const DocAnimation animation = animationOf({DocTrack{}, track});
        yfx::TrackSampler sampler(animation, 1);
        float t = -6.0f;
        for (int frame = 0; frame < 120; ++frame) {
            const float r = unit(random);
            if (r < 0.05f) {
                t -= 3.0f * unit(random);
            } else if (r < 0.08f) {
                t = kNaN;
            } else if (std::isnan(t)) {
                t = -6.0f + 12.0f * unit(random);
            } else if (r > 0.15f) {
                t += 0.25f * unit(random);
            }
            float plain[4];
            float sampled[4];
            yfx::sampleTrackPosition(animation, 1, t, plain);
            sampler.position(t, sampled);
            ASSERT_TRUE(sameBits(plain, sampled, 3)) << "round " << round << " time " << t;
            yfx::sampleTrackRotation(animation, 1, t, plain);
            sampler.rotation(t, sampled);
            ASSERT_TRUE(sameBits(plain, sampled, 4)) << "round " << round << " time " << t;
            yfx::sampleTrackScale(animation, 1, t, plain);
            sampler.scale(t, sampled);
            ASSERT_TRUE(sameBits(plain, sampled, 3)) << "round " << round << " time " << t;
        }
    }
}

// A long track sampled frame by frame, checked against the plain scan at
// every two thousandth frame and the key values at the keys' own times.
TEST(KeyframeSampling, SamplerWalksALongTrack) {
    const int keyCount = 100000;
    std::vector<std::pair<float, float>> keys;
    keys.reserve(keyCount);
    for (int k = 0; k < keyCount; ++k) {
        keys.push_back({static_cast<float>(k) / 30.0f, static_cast<float>(k % 97)});
    }
    const DocAnimation animation = animationOf({trackOf(keys)});
    yfx::TrackSampler sampler(animation, 0);
    for (int frame = 0; frame < 2 * keyCount; ++frame) {
        const float t = static_cast<float>(frame) / 60.0f;
        float sampled[3];
        sampler.position(t, sampled);
        if (frame % 2 == 0) {
            ASSERT_EQ(sampled[0], keys[static_cast<std::size_t>(frame / 2)].second) << frame;
        }
        if (frame % 2000 == 1) {
            float plain[3];
            yfx::sampleTrackPosition(animation, 0, t, plain);
            ASSERT_TRUE(sameBits(plain, sampled, 3)) << frame;
        }
    }
}
