#include <gtest/gtest.h>

#include <cmath>

#include "util/matrix_math.h"

namespace {

const float kHalf = std::sqrt(0.5f);

void expectQuat(const float got[4], float x, float y, float z, float w, float tol) {
    EXPECT_NEAR(got[0], x, tol);
    EXPECT_NEAR(got[1], y, tol);
    EXPECT_NEAR(got[2], z, tol);
    EXPECT_NEAR(got[3], w, tol);
}

} // namespace

TEST(Slerp, EndsAndMidpointFollowTheArc) {
    const float p[4] = {0, 0, 0, 1};
    const float q[4] = {0, 0, kHalf, kHalf}; // 90 degrees about z
    float out[4];
    yfx::slerp(p, q, 0.0f, out);
    expectQuat(out, 0, 0, 0, 1, 1e-6f);
    yfx::slerp(p, q, 1.0f, out);
    expectQuat(out, 0, 0, kHalf, kHalf, 1e-6f);
    // Halfway is 45 degrees, at unit length (a linear blend would be shorter).
    yfx::slerp(p, q, 0.5f, out);
    expectQuat(out, 0, 0, std::sin(0.3926991f), std::cos(0.3926991f), 1e-6f);
}

TEST(Slerp, TakesTheShortWayWhenSignsDiffer) {
    const float p[4] = {0, 0, 0, 1};
    const float q[4] = {0, 0, -kHalf, -kHalf}; // the same 90 degrees, other sign
    float out[4];
    yfx::slerp(p, q, 0.5f, out);
    expectQuat(out, 0, 0, std::sin(0.3926991f), std::cos(0.3926991f), 1e-6f);
}

TEST(Slerp, NegatedTargetIsTheSameRotation) {
    const float p[4] = {0.5f, -0.5f, 0.5f, 0.5f};
    const float q[4] = {-0.5f, 0.5f, -0.5f, -0.5f};
    for (float t : {0.0f, 0.25f, 1.0f}) {
        float out[4];
        yfx::slerp(p, q, t, out);
        expectQuat(out, p[0], p[1], p[2], p[3], 1e-6f);
    }
}
