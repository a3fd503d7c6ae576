#include <cmath>

#include "util/decompose_parts.h"

namespace yfx {
namespace decompose {

Mat3 identity3() {
    return Mat3{{{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}};
}

float det3(const Mat3& a) {
    const auto& m = a.m;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

Quat quatMul(const Quat& l, const Quat& r) {
    Quat out;
    out.w = l.w * r.w - l.x * r.x - l.y * r.y - l.z * r.z;
    out.x = l.w * r.x + l.x * r.w + l.y * r.z - l.z * r.y;
    out.y = l.w * r.y + l.y * r.w + l.z * r.x - l.x * r.z;
    out.z = l.w * r.z + l.z * r.w + l.x * r.y - l.y * r.x;
    return out;
}

Quat quatConj(const Quat& q) {
    return Quat{-q.x, -q.y, -q.z, q.w};
}

Quat quatFromRotation(const Mat3& r) {
    const auto& m = r.m;
    // The block stands for a 4x4 matrix whose last diagonal term is 1.
    const float trace = m[0][0] + m[1][1] + m[2][2];
    float q[4];
    if (trace >= 0.0f) {
        float s = std::sqrt(trace + 1.0f);
        q[3] = s * 0.5f;
        s = 0.5f / s;
        q[0] = (m[2][1] - m[1][2]) * s;
        q[1] = (m[0][2] - m[2][0]) * s;
        q[2] = (m[1][0] - m[0][1]) * s;
    } else {
        // The component of the largest diagonal term first, then the two that
        // follow it cyclically.
        int i = 0;
        if (m[1][1] > m[0][0]) {
            i = 1;
        }
        if (m[2][2] > m[i][i]) {
            i = 2;
        }
        const int j = (i + 1) % 3;
        const int k = (i + 2) % 3;
        float s = std::sqrt((m[i][i] - (m[j][j] + m[k][k])) + 1.0f);
        q[i] = s * 0.5f;
        s = 0.5f / s;
        q[j] = (m[i][j] + m[j][i]) * s;
        q[k] = (m[k][i] + m[i][k]) * s;
        q[3] = (m[k][j] - m[j][k]) * s;
    }
    return Quat{q[0], q[1], q[2], q[3]};
}

} // namespace decompose
} // namespace yfx
