// Shared checks for the math tests: 3x3 products and the rebuild of a matrix
// from its affine decomposition.
#pragma once

#include <array>
#include <cmath>

#include "util/matrix_math.h"

namespace yfx_test {

using Mat3 = std::array<std::array<double, 3>, 3>;

inline Mat3 upper3x3(const float m[16]) {
    Mat3 r{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = m[4 * i + j];
        }
    }
    return r;
}

inline Mat3 rotationOf(const float q[4]) {
    float m[16];
    yfx::quatToMatrix(q, m);
    return upper3x3(m);
}

inline Mat3 mul(const Mat3& a, const Mat3& b) {
    Mat3 c{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 3; ++k) {
                c[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return c;
}

inline Mat3 transposed(const Mat3& a) {
    Mat3 t{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            t[i][j] = a[j][i];
        }
    }
    return t;
}

inline double det(const Mat3& m) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// U K U^T: the symmetric stretch of a decomposition.
inline Mat3 stretchOf(const float u[4], const float k[4]) {
    const Mat3 rot = rotationOf(u);
    Mat3 scaled = rot;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            scaled[i][j] *= k[j];
        }
    }
    return mul(scaled, transposed(rot));
}

// f R U K U^T, the linear part rebuilt from a decomposition.
inline Mat3 rebuildLinear(const yfx::AffineDecomposition& d) {
    Mat3 r = mul(rotationOf(d.q), stretchOf(d.u, d.k));
    for (auto& row : r) {
        for (double& v : row) {
            v *= d.f;
        }
    }
    return r;
}

inline double maxAbs(const Mat3& m) {
    double best = 0.0;
    for (const auto& row : m) {
        for (double v : row) {
            best = std::fmax(best, std::fabs(v));
        }
    }
    return best;
}

inline double maxAbsDiff(const Mat3& a, const Mat3& b) {
    double best = 0.0;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            best = std::fmax(best, std::fabs(a[i][j] - b[i][j]));
        }
    }
    return best;
}

inline double quatNorm(const float q[4]) {
    return std::sqrt(double(q[0]) * q[0] + double(q[1]) * q[1] + double(q[2]) * q[2] +
                     double(q[3]) * q[3]);
}

} // namespace yfx_test
