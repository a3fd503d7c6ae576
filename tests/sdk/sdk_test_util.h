// Shared helpers of the stand-in SDK tests: a scene per test and plain
// column-vector 4x4 matrices, built here independently of the SDK's own math.
#pragma once

#include "dzmatrix3.h"
#include "dzscene.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

// Creates the global scene for one test and destroys it afterwards.
class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override { DzScene::create(); }
    void TearDown() override { DzScene::destroy(); }
};

namespace sdktest {

using Mat4 = std::array<std::array<double, 4>, 4>;

inline Mat4 identity4() {
    Mat4 m{};
    for (int i = 0; i < 4; ++i) {
        m[i][i] = 1.0;
    }
    return m;
}

inline Mat4 mul(const Mat4& a, const Mat4& b) {
    Mat4 out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            for (int k = 0; k < 4; ++k) {
                out[r][c] += a[r][k] * b[k][c];
            }
        }
    }
    return out;
}

// Rotation about one axis (0 = X, 1 = Y, 2 = Z) by degrees, acting on column vectors.
inline Mat4 axisRotation(int axis, double degrees) {
    const double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    Mat4 m = identity4();
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    m[i][i] = c;
    m[i][j] = -s;
    m[j][i] = s;
    m[j][j] = c;
    return m;
}

inline Mat4 translation(double x, double y, double z) {
    Mat4 m = identity4();
    m[0][3] = x;
    m[1][3] = y;
    m[2][3] = z;
    return m;
}

inline Mat4 scaling(double x, double y, double z) {
    Mat4 m = identity4();
    m[0][0] = x;
    m[1][1] = y;
    m[2][2] = z;
    return m;
}

inline Mat4 transpose(const Mat4& m) {
    Mat4 out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[c][r] = m[r][c];
        }
    }
    return out;
}

// The host's row-vector matrix as a column-vector matrix: host row c, component r
// becomes element (r, c).
inline Mat4 fromHost(const DzMatrix3& h) {
    Mat4 m = identity4();
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            m[r][c] = h[c][r];
        }
    }
    return m;
}

inline void expectNear(const Mat4& expected, const Mat4& actual, double tol) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(expected[r][c], actual[r][c], tol) << "element (" << r << ", " << c << ")";
        }
    }
}

} // namespace sdktest
