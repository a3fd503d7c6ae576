#include "util/decompose_parts.h"
#include "util/matrix_math.h"

#include <cmath>

namespace yfx {

namespace {

using decompose::Mat3;
using decompose::Quat;

// Below this fraction of the largest scale factor a factor counts as zero: its
// axis lies in the null space of the stretch.
constexpr float kNullFraction = 1.0e-6f;

// For a singular block the orthogonal factor is free along the null space of
// the stretch, and the rank-deficient completion may return a reflection
// there. A reflection has no unit quaternion, so it is turned into a rotation:
// flipped along a null axis of S (q s is unchanged, f stays +1), or, when no
// factor is numerically zero (a tiny block whose determinant underflowed),
// negated with f = -1 as for a mirrored matrix.
void makeProperRotation(Mat3& q, const Mat3& u, const float k[3], float& f) {
    if (decompose::det3(q) >= 0.0f) {
        return;
    }
    float largest = 0.0f;
    for (int i = 0; i < 3; ++i) {
        largest = std::fmax(largest, std::fabs(k[i]));
    }
    // Of the null axes, flip the one that leaves the rotation closest to the
    // identity: the flip lowers the trace by 2 n^T q n.
    int axis = -1;
    float bestAlong = 0.0f;
    float qn[3] = {0.0f, 0.0f, 0.0f};
    for (int c = 0; c < 3; ++c) {
        if (std::fabs(k[c]) > kNullFraction * largest) {
            continue;
        }
        float along = 0.0f;
        float image[3];
        for (int i = 0; i < 3; ++i) {
            image[i] = q.m[i][0] * u.m[0][c] + q.m[i][1] * u.m[1][c] + q.m[i][2] * u.m[2][c];
            along += u.m[i][c] * image[i];
        }
        if (axis < 0 || along < bestAlong) {
            axis = c;
            bestAlong = along;
            qn[0] = image[0];
            qn[1] = image[1];
            qn[2] = image[2];
        }
    }
    if (axis >= 0) {
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                q.m[i][j] -= 2.0f * qn[i] * u.m[j][axis];
            }
        }
        return;
    }
    for (auto& row : q.m) {
        for (float& v : row) {
            v = -v;
        }
    }
    f = -f;
}

} // namespace

void decomposeAffine(const float m[16], AffineDecomposition& out) {
    out.t[0] = m[3];
    out.t[1] = m[7];
    out.t[2] = m[11];
    out.t[3] = 0.0f;

    Mat3 a;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            a.m[i][j] = m[4 * i + j];
        }
    }
    Mat3 q;
    Mat3 s;
    const float det = decompose::polarDecompose(a, q, s);
    out.f = 1.0f;
    if (det < 0.0f) {
        for (auto& row : q.m) {
            for (float& v : row) {
                v = -v;
            }
        }
        out.f = -1.0f;
    }

    Mat3 u;
    float k[3];
    decompose::spectralDecompose(s, u, k);
    if (det == 0.0f) {
        makeProperRotation(q, u, k, out.f);
    }
    const Quat rotation = decompose::quatFromRotation(q);
    out.q[0] = rotation.x;
    out.q[1] = rotation.y;
    out.q[2] = rotation.z;
    out.q[3] = rotation.w;

    Quat stretch = decompose::quatFromRotation(u);
    const Quat p = decompose::snuggle(stretch, k);
    stretch = decompose::quatMul(stretch, p);
    out.u[0] = stretch.x;
    out.u[1] = stretch.y;
    out.u[2] = stretch.z;
    out.u[3] = stretch.w;
    out.k[0] = k[0];
    out.k[1] = k[1];
    out.k[2] = k[2];
    out.k[3] = 0.0f;
}

} // namespace yfx
