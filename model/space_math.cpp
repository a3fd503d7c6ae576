#include "model/space_math.h"

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
    return Mat4(scale, rotation, position);
}

} // namespace model
} // namespace yfx
