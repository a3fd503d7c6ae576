#include "model/space_math.h"

#include <assimp/matrix3x3.h>

#include <algorithm>
#include <cmath>

namespace yfx {
namespace model {

namespace {

Vec3 column(const Mat4& m, int c) {
    return Vec3(m[0][c], m[1][c], m[2][c]);
}

} // namespace

bool isFinite(const Mat4& m) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (!std::isfinite(m[r][c])) {
                return false;
            }
        }
    }
    return true;
}

Mat4 safeInverse(const Mat4& m) {
    const double det = m.Determinant();
    if (!std::isfinite(det) || std::fabs(det) < 1e-30 || !isFinite(m)) {
        return Mat4();
    }
    Mat4 inverse = m;
    inverse.Inverse();
    return isFinite(inverse) ? inverse : Mat4();
}

Mat4 rotationPart(const Mat4& m) {
    Vec3 x = column(m, 0), y = column(m, 1);
    const double lx = x.Length();
    if (!(lx > 1e-12) || !std::isfinite(lx)) {
        return Mat4();
    }
    x /= lx;
    y -= x * (x * y);
    const double ly = y.Length();
    if (!(ly > 1e-12) || !std::isfinite(ly)) {
        return Mat4();
    }
    y /= ly;
    const Vec3 z = x ^ y; // right-handed, so a reflection becomes a rotation
    Mat4 r;
    for (int i = 0; i < 3; ++i) {
        r[i][0] = x[i];
        r[i][1] = y[i];
        r[i][2] = z[i];
    }
    return r;
}

void decompose(const Mat4& m, Vec3& position, Quat& rotation, Vec3& scale) {
    position = translationOf(m);
    scale = Vec3(column(m, 0).Length(), column(m, 1).Length(), column(m, 2).Length());
    const Mat4 r = rotationPart(m);
    // A reflection: the rotation has the third axis flipped back; put the
    // sign into the scale along x, as the host and Assimp both read it.
    if (scale.x > 0 && scale.y > 0 && scale.z > 0 && m.Determinant() < 0) {
        scale.x = -scale.x;
        const Mat4 flipped = rotationPart(
            Mat4(-m.a1, m.a2, m.a3, 0, -m.b1, m.b2, m.b3, 0, -m.c1, m.c2, m.c3, 0, 0, 0, 0, 1));
        rotation = Quat(aiMatrix3x3t<double>(flipped));
    } else {
        rotation = Quat(aiMatrix3x3t<double>(r));
    }
    rotation.Normalize();
    if (!std::isfinite(rotation.w) || !std::isfinite(rotation.x) || !std::isfinite(rotation.y) ||
        !std::isfinite(rotation.z)) {
        rotation = Quat();
    }
}

Mat4 compose(const Vec3& position, const Quat& rotation, const Vec3& scale) {
    // Built here rather than with Assimp's (scaling, rotation, position)
    // constructor, which in the Assimp this builds with scales the rotation's
    // rows (a scale along the parent's axes, after the turn) instead of its
    // columns.
    const aiMatrix3x3t<double> r = rotation.GetMatrix();
    Mat4 m;
    const double s[3] = {scale.x, scale.y, scale.z};
    for (int row = 0; row < 3; ++row) {
        for (int c = 0; c < 3; ++c) {
            m[row][c] = r[row][c] * s[c];
        }
    }
    m.a4 = position.x;
    m.b4 = position.y;
    m.c4 = position.z;
    return m;
}

bool hasShear(const Mat4& m) {
    for (int a = 0; a < 3; ++a) {
        for (int b = a + 1; b < 3; ++b) {
            const Vec3 ca = column(m, a), cb = column(m, b);
            const double scale = ca.Length() * cb.Length();
            if (scale > 0 && std::fabs(ca * cb) > 1e-5 * scale) {
                return true;
            }
        }
    }
    return false;
}

Mat4 withoutShear(const Mat4& m) {
    // Polar decomposition by Newton's iteration, X <- (X + X^-T) / 2, on the
    // linear part with a reflection taken out of its x column first.
    aiMatrix3x3t<double> a(m);
    const double sign = a.Determinant() < 0 ? -1.0 : 1.0;
    a.a1 *= sign, a.b1 *= sign, a.c1 *= sign;
    aiMatrix3x3t<double> x = a;
    for (int i = 0; i < 60; ++i) {
        const double det = x.Determinant();
        if (!std::isfinite(det) || std::fabs(det) < 1e-30) {
            return m; // degenerate: nothing better to offer
        }
        aiMatrix3x3t<double> inverseT = x;
        inverseT.Inverse().Transpose();
        aiMatrix3x3t<double> next;
        double change = 0;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                next[r][c] = 0.5 * (x[r][c] + inverseT[r][c]);
                change = std::max(change, std::fabs(next[r][c] - x[r][c]));
            }
        }
        x = next;
        if (change < 1e-14) {
            break;
        }
    }
    // Scale along the local axes: the diagonal of R^T A.
    Mat4 out;
    for (int c = 0; c < 3; ++c) {
        const double s = x[0][c] * a[0][c] + x[1][c] * a[1][c] + x[2][c] * a[2][c];
        for (int r = 0; r < 3; ++r) {
            out[r][c] = x[r][c] * s * (c == 0 ? sign : 1.0);
        }
        out[c][3] = m[c][3];
    }
    return out;
}

} // namespace model
} // namespace yfx
