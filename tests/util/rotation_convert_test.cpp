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

// quatToEuler gives the angles (x, y, z) of R = Rz(z) Ry(y) Rx(x): a point
// turns about x first, then y, then z, all fixed axes. Each row is worked by
// hand from the matrix of quatToMatrix: away from y = +-90 degrees
// x = atan2(m21, m22), y = atan2(-m20, cy), z = atan2(m10, m00) with
// cy = sqrt(m00^2 + m10^2); at y = +-90 degrees (cy below 16 FLT_EPSILON) x
// and z turn about the same axis, so z is 0 and x = atan2(-m12, m11) takes
// the whole turn. qa(t) is the quaternion of a turn t about axis a, and
// qz(b) qy(a) turns by a about y, then by b about z.
TEST(RotationConvert, QuatToEulerHandWorked) {
    const float s = 0.70710678f;  // sin 45 = cos 45
    const float c30 = 0.8660254f; // cos 30 = sin 60
    const float pi = kPi;
    const struct {
        const char* name;
        float q[4];
        float euler[3];
    } cases[] = {
        {"identity", {0, 0, 0, 1}, {0, 0, 0}},
        // m21 = 2wx = 1, m22 = 1 - 2x^2 = 0; m20 = m10 = 0, m00 = 1.
        {"qx(90)", {s, 0, 0, s}, {pi / 2, 0, 0}},
        // m21 = 2wx = sin 135, m22 = 1 - 2x^2 = cos 135: x keeps its quadrant.
        {"qx(135)", {0.92387953f, 0, 0, 0.38268343f}, {3 * pi / 4, 0, 0}},
        // m21 = 0, m22 = -1: atan2(0, -1) = pi.
        {"qx(180)", {1, 0, 0, 0}, {pi, 0, 0}},
        // m00 = m22 = 1 - 2y^2 = 0.5, m20 = -2wy = -sin 60: y = atan2(sin 60, 0.5).
        {"qy(60)", {0, 0.5f, 0, c30}, {0, pi / 3, 0}},
        // m00 = 1 - 2z^2 = 0, m10 = 2wz = -1.
        {"qz(-90)", {0, 0, -s, s}, {0, 0, -pi / 2}},
        // qz(90) qx(90) = (0.5, 0.5, 0.5, 0.5): m = [0 0 1; 1 0 0; 0 1 0];
        // x = atan2(1, 0), y = atan2(0, 1), z = atan2(1, 0).
        {"qz(90) qx(90)", {0.5f, 0.5f, 0.5f, 0.5f}, {pi / 2, 0, pi / 2}},
        // qz(90) qy(60) = s (-0.5, 0.5, cos 30, cos 30): m00 = 1 - 0.25 - 0.75
        // = 0, m10 = 0.75 - 0.25 = 0.5, m20 = -cos 30, m21 = 0, m22 = 0.5.
        {"qz(90) qy(60)",
         {-0.35355339f, 0.35355339f, 0.61237244f, 0.61237244f},
         {0, pi / 3, pi / 2}},
        // q and -q: every matrix entry is a product of two components.
        {"-qx(90)", {-s, 0, 0, -s}, {pi / 2, 0, 0}},
        // Gimbal: m00 = 1 - 2s^2 is about 6e-8 and m10 = 0, below the limit;
        // m12 = 0, m11 = 1, m20 = -2s^2 = -1.
        {"qy(90)", {0, s, 0, s}, {0, pi / 2, 0}},
        // qy(90) qx(90) = (0.5, 0.5, -0.5, 0.5): m00 = m10 = 0, m12 = -1,
        // m11 = 0, m20 = -1: x = atan2(1, 0), y = atan2(1, 0).
        {"qy(90) qx(90)", {0.5f, 0.5f, -0.5f, 0.5f}, {pi / 2, pi / 2, 0}},
        // qz(90) qy(90) = (-0.5, 0.5, 0.5, 0.5): m12 = 1, m11 = 0, m20 = -1.
        // At y = 90 a turn about z is the opposite turn about x (x - z).
        {"qz(90) qy(90)", {-0.5f, 0.5f, 0.5f, 0.5f}, {-pi / 2, pi / 2, 0}},
        // qz(90) qy(-90) = (0.5, -0.5, 0.5, 0.5): m12 = -1, m11 = 0, m20 = 1.
        // At y = -90 a turn about z adds to the turn about x (x + z).
        {"qz(90) qy(-90)", {0.5f, -0.5f, 0.5f, 0.5f}, {pi / 2, -pi / 2, 0}},
    };
    for (const auto& c : cases) {
        float e[3] = {9, 9, 9};
        yfx::quatToEuler(c.q, e);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(e[k], c.euler[k], 2e-6f) << c.name << ", angle "
                                                 << "xyz"[k];
        }
    }
}
