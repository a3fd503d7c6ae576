// The segment tree answers what a scan over every segment answers: the
// smallest float distance, the lowest index among equal ones, never a
// segment with a non-finite end or a non-finite distance.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "util/matrix_math.h"
#include "util/nearest_segment.h"

namespace {

// The scan the tree must agree with.
std::int32_t scanNearest(const std::vector<float>& ends, const float p[3]) {
    std::int32_t best = -1;
    float bestDistance = std::numeric_limits<float>::infinity();
    for (std::size_t i = 0; 6 * i < ends.size(); ++i) {
        const float* e = &ends[6 * i];
        bool finite = true;
        for (int k = 0; k < 6; ++k) {
            finite = finite && std::isfinite(e[k]);
        }
        const float d = finite ? yfx::pointSegmentDistance(p, e, e + 3) : 0.0f;
        if (finite && d < bestDistance) {
            best = std::int32_t(i);
            bestDistance = d;
        }
    }
    return best;
}

struct Scene {
    const char* name;
    std::vector<float> ends;
    std::vector<std::array<float, 3>> points;
};

std::vector<Scene> scenes() {
    std::mt19937 random(7);
    const auto uniform = [&](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<Scene> out;

    // Bones of a figure's size and points in and around it, at several counts
    // (a tree of one leaf, a few leaves, many).
    for (const int bones : {0, 1, 3, 5, 17, 2000}) {
        Scene s{"random bones", {}, {}};
        for (int b = 0; b < bones; ++b) {
            const float x = uniform(-50, 50), y = uniform(0, 180), z = uniform(-30, 30);
            s.ends.insert(s.ends.end(), {x, y, z, x + uniform(-10, 10), y + uniform(0, 20), z});
        }
        for (int q = 0; q < 500; ++q) {
            const float reach = q % 5 == 0 ? 5000.0f : 100.0f;
            s.points.push_back(
                {uniform(-reach, reach), uniform(-reach, reach), uniform(-reach, reach)});
        }
        out.push_back(std::move(s));
    }

    // Ties everywhere: repeated segments, zero-length ones, a ring of bones
    // around the points, and a grid of unit bones queried at grid nodes.
    Scene ties{"ties", {}, {}};
    for (int r = 0; r < 3; ++r) {
        for (int b = 0; b < 40; ++b) {
            const float angle = float(b) * 6.2831853f / 40.0f;
            const float x = 10 * std::cos(angle), z = 10 * std::sin(angle);
            ties.ends.insert(ties.ends.end(), {x, -5, z, x, 5, z});
        }
    }
    for (int b = 0; b < 30; ++b) {
        ties.ends.insert(ties.ends.end(), {3, 3, 3, 3, 3, 3});
    }
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) {
            ties.ends.insert(ties.ends.end(), {float(x), float(y), 0, float(x + 1), float(y), 0});
            ties.points.push_back({float(x), float(y), 0});
            ties.points.push_back({float(x) + 0.5f, float(y) + 0.5f, 1});
        }
    }
    ties.points.push_back({0, 0, 0});
    ties.points.push_back({3, 3, 3});
    out.push_back(std::move(ties));

    // Magnitudes far apart: huge coordinates whose squares overflow, tiny ones,
    // and points among both.
    Scene scales{"far apart scales", {}, {}};
    for (int b = 0; b < 200; ++b) {
        const float m = std::pow(10.0f, float(b % 70) - 35.0f);
        scales.ends.insert(scales.ends.end(), {m, -m, m * 0.5f, -m, m, 2 * m});
        scales.points.push_back({m, m, m});
        scales.points.push_back({-m * 3, 0, m});
    }
    scales.ends.insert(scales.ends.end(), {3e38f, 3e38f, 3e38f, -3e38f, -3e38f, -3e38f});
    scales.points.push_back({1e38f, -1e38f, 0});
    out.push_back(std::move(scales));

    // Far from the origin on a fine grid, where a float distance can round
    // below the exact distance of its segment's box: the tree must still visit
    // such a segment when it wins.
    for (const float base : {1e5f, 1e6f, 1e7f}) {
        for (int trial = 0; trial < 40; ++trial) {
            Scene far{"far from the origin", {}, {}};
            for (int b = 0; b < 40; ++b) {
                const float x = base + float(random() % 64) * 0.25f;
                const float y = float(random() % 64) * 0.25f;
                const float length = b % 2 == 0 ? 0.0f : float(random() % 16) * 0.125f;
                far.ends.insert(far.ends.end(), {x, y, 0, x + length, y + length / 2, 0});
            }
            for (int q = 0; q < 50; ++q) {
                far.points.push_back({base + float(random() % 1000) * 0.0173f,
                                      float(random() % 1000) * 0.0137f,
                                      float(random() % 100) * 0.01f});
            }
            out.push_back(std::move(far));
        }
    }

    // Non-finite ends among finite bones, and bones that are all non-finite.
    Scene odd{"non-finite ends", {}, {}};
    for (int b = 0; b < 300; ++b) {
        const float x = uniform(-20, 20);
        const float bad = b % 3 == 0 ? nan : (b % 3 == 1 ? inf : -inf);
        if (b % 4 == 0) {
            odd.ends.insert(odd.ends.end(), {x, 0, 0, x, 1, 0});
        } else {
            odd.ends.insert(odd.ends.end(), {bad, 0, x, x, 1, 0});
        }
        odd.points.push_back({x, uniform(-5, 5), 0});
    }
    out.push_back(std::move(odd));
    Scene none{"only non-finite bones", {inf, 0, 0, 1, 1, 1, 0, nan, 0, 0, 0, 0}, {{0, 0, 0}}};
    out.push_back(std::move(none));
    return out;
}

TEST(NearestSegment, AgreesWithTheScanEverywhere) {
    for (const Scene& scene : scenes()) {
        SCOPED_TRACE(scene.name);
        const yfx::NearestSegmentIndex index(scene.ends.data(), scene.ends.size() / 6);
        for (const auto& p : scene.points) {
            ASSERT_EQ(index.nearest(p.data()), scanNearest(scene.ends, p.data()))
                << p[0] << ", " << p[1] << ", " << p[2] << " of " << scene.ends.size() / 6;
        }
    }
}

TEST(NearestSegment, NoAnswerForANonFinitePointOrNoFiniteBone) {
    const float ends[] = {0, 0, 0, 0, 1, 0, 5, 0, 0, 5, 1, 0};
    const yfx::NearestSegmentIndex index(ends, 2);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float points[][3] = {{nan, 0, 0}, {0, inf, 0}, {0, 0, -inf}};
    for (const auto& p : points) {
        EXPECT_EQ(index.nearest(p), -1);
    }
    const float near[3] = {4, 0.5f, 0};
    EXPECT_EQ(index.nearest(near), 1);
    const yfx::NearestSegmentIndex empty(nullptr, 0);
    EXPECT_EQ(empty.nearest(near), -1);
}

} // namespace
