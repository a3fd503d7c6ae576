// Single-precision geometry on caller-owned float arrays: matrices are 16
// floats row-major (element (r, c) at 4r + c, translation in column 3),
// quaternions are x, y, z, w, Euler angles are radians x, y, z.
// No routine allocates or fails.
#pragma once

namespace yfx {

// Result of decomposeAffine: M = T F R U K U^T.
struct AffineDecomposition {
    float t[4]; // translation x, y, z; w written 0
    float q[4]; // essential rotation
    float u[4]; // stretch rotation
    float k[4]; // stretch factors x, y, z; w written 0
    float f;    // sign of the determinant, +1 or -1
};

// Polar decomposition of an affine matrix (Shoemake and Duff, Graphics Gems IV).
// q and u are always unit quaternions; for a singular block the rotation is
// chosen (f staying +1 where a null axis allows it) so that T F R U K U^T
// still rebuilds m.
void decomposeAffine(const float m[16], AffineDecomposition& out);

// Euler angles x, y, z of a rotation matrix (upper 3x3 used). Returns 1.
int matrixToEulerXYZ(const float m[16], float euler[3]);
// Euler angles through quatToMatrix and matrixToEulerXYZ.
void quatToEuler(const float q[4], float euler[3]);
void quatToMatrix(const float q[4], float m[16]);
// Quaternion of the upper 3x3; the transpose convention of quatToMatrix.
void matrixToQuat(const float m[16], float q[4]);

// out = a * b (4x4). `out` may alias neither input.
void multiply4x4(const float a[16], const float b[16], float out[16]);
// out = a * b of two affine 3x4 matrices, last row written (0, 0, 0, 1).
void composeAffine(const float a[16], const float b[16], float out[16]);
// Inverse by cofactors; the identity when the determinant is exactly 0.
void invert4x4(const float m[16], float out[16]);

// Spherical interpolation from p (t = 0) to q or -q, whichever is nearer (t = 1).
void slerp(const float p[4], const float q[4], float t, float out[4]);
// Columns 0 and 1 rebuilt from column 2; column 3 and row 3 copied.
void orientFromZAxis(const float m[16], float out[16]);
float pointSegmentDistance(const float p[3], const float a[3], const float b[3]);

void setIdentity4x4(float m[16]);

} // namespace yfx
