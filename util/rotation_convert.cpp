// Conversions between rotation matrices, quaternions and Euler angles.
#include <cfloat>
#include <cmath>

#include "util/matrix_math.h"

namespace yfx {

namespace {

// Below this, cos(y) is taken as zero: the rotation is at y = +-90 degrees
// (gimbal lock) and x and z turn about the same axis.
constexpr float kGimbalLimit = 16.0f * FLT_EPSILON;

} // namespace

int matrixToEulerXYZ(const float m[16], float euler[3]) {
    const float cy = std::sqrt(m[0] * m[0] + m[4] * m[4]);
    if (cy > kGimbalLimit) {
        euler[0] = std::atan2(m[9], m[10]);
        euler[1] = std::atan2(-m[8], cy);
        euler[2] = std::atan2(m[4], m[0]);
    } else {
        euler[0] = std::atan2(-m[6], m[5]);
        euler[1] = std::atan2(-m[8], cy);
        euler[2] = 0.0f;
    }
    return 1;
}

void quatToEuler(const float q[4], float euler[3]) {
    float m[16];
    quatToMatrix(q, m);
    matrixToEulerXYZ(m, euler);
}

void quatToMatrix(const float q[4], float m[16]) {
    const float x = q[0];
    const float y = q[1];
    const float z = q[2];
    const float w = q[3];
    m[0] = 1.0f - 2.0f * y * y - 2.0f * z * z;
    m[1] = 2.0f * x * y - 2.0f * w * z;
    m[2] = 2.0f * w * y + 2.0f * x * z;
    m[3] = 0.0f;
    m[4] = 2.0f * w * z + 2.0f * x * y;
    m[5] = 1.0f - 2.0f * x * x - 2.0f * z * z;
    m[6] = 2.0f * y * z - 2.0f * w * x;
    m[7] = 0.0f;
    m[8] = 2.0f * x * z - 2.0f * w * y;
    m[9] = 2.0f * y * z + 2.0f * w * x;
    m[10] = 1.0f - 2.0f * x * x - 2.0f * y * y;
    m[11] = 0.0f;
    m[12] = 0.0f;
    m[13] = 0.0f;
    m[14] = 0.0f;
    m[15] = 1.0f;
}

void matrixToQuat(const float m[16], float q[4]) {
    auto at = [m](int r, int c) { return m[4 * r + c]; };
    const float trace = at(0, 0) + at(1, 1) + at(2, 2);
    if (trace > 0.0f) {
        float s = std::sqrt(trace + 1.0f);
        q[3] = s * 0.5f;
        if (s != 0.0f) {
            s = 0.5f / s;
        }
        q[0] = (at(1, 2) - at(2, 1)) * s;
        q[1] = (at(2, 0) - at(0, 2)) * s;
        q[2] = (at(0, 1) - at(1, 0)) * s;
        return;
    }
    // The component of the largest diagonal term first, the others from it.
    int i = 0;
    if (at(1, 1) > at(0, 0)) {
        i = 1;
    }
    if (at(2, 2) > at(i, i)) {
        i = 2;
    }
    const int j = (i + 1) % 3;
    const int k = (j + 1) % 3;
    float s = std::sqrt(at(i, i) - (at(j, j) + at(k, k)) + 1.0f);
    q[i] = s * 0.5f;
    if (s != 0.0f) {
        s = 0.5f / s;
    }
    q[j] = (at(i, j) + at(j, i)) * s;
    q[k] = (at(i, k) + at(k, i)) * s;
    q[3] = (at(j, k) - at(k, j)) * s;
}

} // namespace yfx
