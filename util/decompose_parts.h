// Building blocks of decomposeAffine: 3x3 matrices and quaternions in float,
// the polar decomposition M = Q S and the spectral decomposition S = U K U^T.
// Internal to util/; callers use decomposeAffine.
#pragma once

namespace yfx {
namespace decompose {

// A 3x3 block, m[row][column]; vectors are columns (v' = M v).
struct Mat3 {
    float m[3][3];
};

struct Quat {
    float x, y, z, w;
};

Mat3 identity3();
float det3(const Mat3& a);

Quat quatMul(const Quat& l, const Quat& r);
Quat quatConj(const Quat& q);
// Unit quaternion of a rotation block, the largest component solved first.
Quat quatFromRotation(const Mat3& r);

// Splits m into an orthogonal q and a symmetric positive semi-definite s with
// m = q s. Returns the determinant of the last Newton iterate: its sign is that
// of det m, and it is exactly 0 when the rank-deficient completion was used.
float polarDecompose(const Mat3& m, Mat3& q, Mat3& s);

// Jacobi diagonalisation of the symmetric s: s = u diag(k) u^T.
void spectralDecompose(const Mat3& s, Mat3& u, float k[3]);

// Returns p, a rotation that permutes the axes (and turns freely where scale
// factors repeat) such that q p is as close to the identity as possible;
// permutes k to go with q p.
Quat snuggle(Quat q, float k[3]);

} // namespace decompose
} // namespace yfx
