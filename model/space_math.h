// Double-precision transforms for the conversion, in Assimp's convention:
// column vectors, a matrix's translation in its fourth column, and a child's
// world matrix = parent's world * child's local. Host matrices (row vectors,
// translation in row 3) are converted at the host's edge only.
#pragma once

#include <assimp/matrix4x4.h>
#include <assimp/quaternion.h>
#include <assimp/types.h>
#include <assimp/vector3.h>

namespace yfx {
namespace model {

using Mat4 = aiMatrix4x4t<double>;
using Vec3 = aiVector3t<double>;
using Quat = aiQuaterniont<double>;

inline Mat4 toDouble(const aiMatrix4x4& m) {
    return Mat4(m.a1, m.a2, m.a3, m.a4, m.b1, m.b2, m.b3, m.b4, m.c1, m.c2, m.c3, m.c4, m.d1, m.d2,
                m.d3, m.d4);
}

inline aiMatrix4x4 toFloat(const Mat4& m) {
    return aiMatrix4x4(float(m.a1), float(m.a2), float(m.a3), float(m.a4), float(m.b1), float(m.b2),
                       float(m.b3), float(m.b4), float(m.c1), float(m.c2), float(m.c3), float(m.c4),
                       float(m.d1), float(m.d2), float(m.d3), float(m.d4));
}

inline aiVector3D toFloat(const Vec3& v) {
    return aiVector3D(float(v.x), float(v.y), float(v.z));
}

inline Vec3 toDouble(const aiVector3D& v) {
    return Vec3(v.x, v.y, v.z);
}

inline Vec3 translationOf(const Mat4& m) {
    return Vec3(m.a4, m.b4, m.c4);
}

inline Mat4 translation(const Vec3& t) {
    Mat4 m;
    m.a4 = t.x;
    m.b4 = t.y;
    m.c4 = t.z;
    return m;
}

// The inverse; the identity for a matrix that has none (a degenerate scale),
// so that one broken node cannot fill the scene with NaN.
Mat4 safeInverse(const Mat4& m);

// True when every element is finite.
bool isFinite(const Mat4& m);

// The rotation part: the linear part with its columns made orthonormal
// (Gram-Schmidt; a reflection turned into a rotation by negating the third
// axis). Identity for a degenerate matrix.
Mat4 rotationPart(const Mat4& m);

// Position, rotation and scale, as Assimp's Decompose gives them (scale along
// the local axes, applied before the rotation; a reflection as a negative x
// scale), with a degenerate rotation replaced by the identity.
void decompose(const Mat4& m, Vec3& position, Quat& rotation, Vec3& scale);

// Whether the linear part shears: its columns are not at right angles to one
// another (relative tolerance 1e-5), so no rotation times a scale along the
// local axes gives it.
bool hasShear(const Mat4& m);

// The nearest transform without shear: the same translation, the rotation of
// the linear part's polar decomposition, and along the local axes the scale
// that rotation leaves on the diagonal (a reflection stays in the x scale).
// A matrix without shear comes back unchanged, up to rounding.
Mat4 withoutShear(const Mat4& m);

// Translation * rotation * scale.
Mat4 compose(const Vec3& position, const Quat& rotation, const Vec3& scale);

} // namespace model
} // namespace yfx
