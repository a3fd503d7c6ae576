#include <gtest/gtest.h>

#include <cmath>

#include "util/matrix_math.h"

namespace {

float dot3(const float* a, const float* b, int stride) {
    return a[0] * b[0] + a[stride] * b[stride] + a[2 * stride] * b[2 * stride];
}

// Column c of a row-major 4x4 starts at m + c with a stride of 4.
void expectOrthonormalFrame(const float m[16]) {
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(dot3(m + c, m + c, 4), 1.0f, 1e-5f) << "column " << c;
        for (int d = c + 1; d < 3; ++d) {
            EXPECT_NEAR(dot3(m + c, m + d, 4), 0.0f, 1e-5f) << "columns " << c << ", " << d;
        }
    }
}

} // namespace

TEST(OrientFromZAxis, BuildsFrameAroundColumnTwoAndKeepsTheRest) {
    const float s = std::sqrt(1.0f / 3.0f);
    const float m[16] = {9, 9, s, 1, 9, 9, s, 2, 9, 9, s, 3, 4, 5, 6, 7};
    float out[16];
    yfx::orientFromZAxis(m, out);
    expectOrthonormalFrame(out);
    // a = up x z is horizontal; z itself and column 3 / row 3 are copied.
    EXPECT_NEAR(out[4], 0.0f, 1e-6f);
    for (int i : {2, 6, 10, 3, 7, 11, 12, 13, 14, 15}) {
        EXPECT_EQ(out[i], m[i]) << "element " << i;
    }
    // Right-handed: a x b = z.
    const float a[3] = {out[0], out[4], out[8]};
    const float b[3] = {out[1], out[5], out[9]};
    EXPECT_NEAR(a[1] * b[2] - a[2] * b[1], s, 1e-5f);
}

// Columns 0 and 1 rebuilt from column 2 (z), worked by hand with
// up = (0, 1, 0), or (0, 0, -1) when every component of z is within 0.0001
// of (0, 1, 0), or (0, 0, 1) when within 0.0001 of (0, -1, 0);
// a = up x z and b = z x a (a before normalising), each divided by its length.
TEST(OrientFromZAxis, ColumnsForEachUpDirection) {
    const struct {
        const char* name;
        float z[3];
        float a[3]; // column 0
        float b[3]; // column 1
    } cases[] = {
        // up = (0, 0, -1): a = (0*0 - (-1)*1, (-1)*0 - 0*0, 0*1 - 0*0) = (1, 0, 0);
        // b = (1*0 - 0*0, 0*1 - 0*0, 0*0 - 1*1) = (0, 0, -1).
        {"straight up", {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
        // up = (0, 0, 1): a = (0*0 - 1*(-1), 1*0 - 0*0, 0*(-1) - 0*0) = (1, 0, 0);
        // b = ((-1)*0 - 0*0, 0*1 - 0*0, 0*0 - (-1)*1) = (0, 0, 1).
        {"straight down", {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        // Within the tolerance: still up = (0, 0, -1); a = (0.99995, -0.00005,
        // 0) and b = (0, 0, -0.00005^2 - 0.99995^2), normalised.
        {"nearly up", {0.00005f, 0.99995f, 0}, {1, -0.00005f, 0}, {0, 0, -1}},
        // up = (0, 0, 1): a = (0.99995, 0, 0); b = (0, 0.00005 * 0.99995,
        // 0.99995^2), normalised.
        {"nearly down", {0, -0.99995f, 0.00005f}, {1, 0, 0}, {0, 0.00005f, 1}},
        // Past it: up = (0, 1, 0), a = (1*0 - 0*1, 0*0.0002 - 0*0, 0*1 -
        // 1*0.0002) = (0, 0, -0.0002), longer than 0.0001, so (0, 0, -1);
        // b = (1*(-0.0002) - 0*0, 0*0 - 0.0002*(-0.0002), 0) = 0.0002 *
        // (-1, 0.0002, 0).
        {"off up by 0.0002", {0.0002f, 1, 0}, {0, 0, -1}, {-1, 0.0002f, 0}},
        // up = (0, 1, 0): a = (1*1 - 0*0, 0*0 - 0*1, 0*0 - 1*0) = (1, 0, 0);
        // b = (0*0 - 1*0, 1*1 - 0*0, 0*0 - 0*1) = (0, 1, 0).
        {"along +z", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        // a = (1*(-1), 0, 0); b = (0*0 - (-1)*0, (-1)*(-1) - 0*0, 0) = (0, 1, 0).
        {"along -z", {0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
        // a = (1*0 - 0*0, 0*1 - 0*0, 0*0 - 1*1) = (0, 0, -1);
        // b = (0*(-1) - 0*0, 0*0 - 1*(-1), 1*0 - 0*0) = (0, 1, 0).
        {"along +x", {1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
        // z is not normalised: a = (2, 0, 0), b = (0, 4, 0), each made unit.
        {"along +z, length 2", {0, 0, 2}, {1, 0, 0}, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        // Columns 0 and 1 hold values the rule must replace; column 3 and row
        // 3 hold values it must keep.
        const float m[16] = {9, 9, c.z[0], 1, 9, 9, c.z[1], 2, 9, 9, c.z[2], 3, 4, 5, 6, 7};
        float out[16];
        yfx::orientFromZAxis(m, out);
        for (int r = 0; r < 3; ++r) {
            EXPECT_NEAR(out[4 * r + 0], c.a[r], 1e-5f) << c.name << ": column 0, row " << r;
            EXPECT_NEAR(out[4 * r + 1], c.b[r], 1e-5f) << c.name << ": column 1, row " << r;
            EXPECT_EQ(out[4 * r + 2], c.z[r]) << c.name << ": column 2, row " << r;
            EXPECT_EQ(out[4 * r + 3], m[4 * r + 3]) << c.name << ": column 3, row " << r;
        }
        for (int i = 12; i < 16; ++i) {
            EXPECT_EQ(out[i], m[i]) << c.name << ": row 3";
        }
    }
}

TEST(OrientFromZAxis, ZeroAxisGivesZeroColumns) {
    const float m[16] = {1, 2, 0, 3, 4, 5, 0, 6, 7, 8, 0, 9, 0, 0, 0, 1};
    float out[16];
    yfx::orientFromZAxis(m, out);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(out[4 * r], 0.0f);
        EXPECT_EQ(out[4 * r + 1], 0.0f);
        EXPECT_FALSE(std::isnan(out[4 * r]));
        EXPECT_EQ(out[4 * r + 3], m[4 * r + 3]);
    }
}

TEST(PointSegmentDistance, NearestPointInEachRegion) {
    const float a[3] = {0, 0, 0};
    const float b[3] = {4, 0, 0};
    const float before[3] = {-3, 4, 0};
    const float beside[3] = {1, 2, 2};
    const float beyond[3] = {7, 0, 4};
    const float on[3] = {2, 0, 0};
    EXPECT_FLOAT_EQ(yfx::pointSegmentDistance(before, a, b), 5.0f);
    EXPECT_FLOAT_EQ(yfx::pointSegmentDistance(beside, a, b), std::sqrt(8.0f));
    EXPECT_FLOAT_EQ(yfx::pointSegmentDistance(beyond, a, b), 5.0f);
    EXPECT_FLOAT_EQ(yfx::pointSegmentDistance(on, a, b), 0.0f);
    // A segment of zero length is a point.
    EXPECT_FLOAT_EQ(yfx::pointSegmentDistance(before, a, a), 5.0f);
}
