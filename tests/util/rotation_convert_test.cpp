// Quaternion, matrix and Euler conversions and their conventions.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "util/matrix_math.h"

namespace {

constexpr float kPi = 3.14159265358979f;

void randomUnitQuat(std::mt19937& rng, float q[4]) {
    std::normal_distribution<float> g(0.0f, 1.0f);
    float len = 0.0f;
    do {
        len = 0.0f;
        for (int i = 0; i < 4; ++i) {
            q[i] = g(rng);
            len += q[i] * q[i];
        }
    } while (len < 1e-3f);
    len = std::sqrt(len);
    for (int i = 0; i < 4; ++i) {
        q[i] /= len;
    }
}

// Rotation matrix of Euler angles applied x first, then y, then z: Rz Ry Rx.
void eulerXYZToMatrix(float x, float y, float z, float m[16]) {
    const float cx = std::cos(x), sx = std::sin(x);
    const float cy = std::cos(y), sy = std::sin(y);
    const float cz = std::cos(z), sz = std::sin(z);
    const float r[16] = {cz * cy,
                         cz * sy * sx - sz * cx,
                         cz * sy * cx + sz * sx,
                         0,
                         sz * cy,
                         sz * sy * sx + cz * cx,
                         sz * sy * cx - cz * sx,
                         0,
                         -sy,
                         cy * sx,
                         cy * cx,
                         0,
                         0,
                         0,
                         0,
                         1};
    for (int i = 0; i < 16; ++i) {
        m[i] = r[i];
    }
}

// Equal up to sign: q and -q are the same rotation.
::testing::AssertionResult sameRotation(const float a[4], const float b[4], float tol) {
    float plus = 0.0f;
    float minus = 0.0f;
    for (int i = 0; i < 4; ++i) {
        plus = std::fmax(plus, std::fabs(a[i] - b[i]));
        minus = std::fmax(minus, std::fabs(a[i] + b[i]));
    }
    if (std::fmin(plus, minus) <= tol) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << a[0] << " " << a[1] << " " << a[2] << " " << a[3] << ") vs (" << b[0] << " "
           << b[1] << " " << b[2] << " " << b[3] << ")";
}

} // namespace

TEST(RotationConvert, MatrixToQuatYieldsConjugateOfQuatToMatrix) {
    std::mt19937 rng(99u);
    for (int n = 0; n < 500; ++n) {
        float q[4];
        randomUnitQuat(rng, q);
        float m[16];
        yfx::quatToMatrix(q, m);
        float back[4];
        yfx::matrixToQuat(m, back);
        const float conj[4] = {-q[0], -q[1], -q[2], q[3]};
        ASSERT_TRUE(sameRotation(back, conj, 2e-5f)) << "case " << n;
    }
    // Each branch of the largest-diagonal choice: half turns about x, y, z.
    for (int axis = 0; axis < 3; ++axis) {
        float q[4] = {0, 0, 0, 0};
        q[axis] = 1.0f;
        float m[16];
        yfx::quatToMatrix(q, m);
        float back[4];
        yfx::matrixToQuat(m, back);
        const float conj[4] = {-q[0], -q[1], -q[2], q[3]};
        EXPECT_TRUE(sameRotation(back, conj, 1e-6f)) << "axis " << axis;
    }
}

TEST(RotationConvert, EulerRoundTripsAwayFromGimbalLock) {
    std::mt19937 rng(5u);
    std::uniform_real_distribution<float> angle(-kPi, kPi);
    std::uniform_real_distribution<float> pitch(-1.5f, 1.5f);
    for (int n = 0; n < 500; ++n) {
        const float x = angle(rng), y = pitch(rng), z = angle(rng);
        float m[16];
        eulerXYZToMatrix(x, y, z, m);
        float e[3];
        EXPECT_EQ(yfx::matrixToEulerXYZ(m, e), 1);
        ASSERT_NEAR(e[0], x, 2e-4f) << "case " << n;
        ASSERT_NEAR(e[1], y, 2e-4f) << "case " << n;
        ASSERT_NEAR(e[2], z, 2e-4f) << "case " << n;
    }
}

TEST(RotationConvert, EulerAtNinetyDegreesAboutYPutsAllTurnIntoX) {
    for (float y : {kPi / 2, -kPi / 2}) {
        // x and z turn about the same axis here; the z turn must fold into x.
        float m[16];
        eulerXYZToMatrix(0.7f, y, 0.4f, m);
        float e[3];
        yfx::matrixToEulerXYZ(m, e);
        EXPECT_EQ(e[2], 0.0f);
        EXPECT_NEAR(e[1], y, 1e-6f);
        float rebuilt[16];
        eulerXYZToMatrix(e[0], e[1], e[2], rebuilt);
        for (int i = 0; i < 11; ++i) {
            EXPECT_NEAR(rebuilt[i], m[i], 1e-5f) << "y " << y << " element " << i;
        }
    }
}
