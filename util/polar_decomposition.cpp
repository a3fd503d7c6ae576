// M = Q S by the scaled Newton iteration of Higham and Schreiber, as laid out
// by Shoemake and Duff, with the Householder completion for singular blocks.
// All arithmetic is single precision, in the published order of operations, so
// results agree with the published code to the last bit where it is sound.
#include <cmath>

#include "util/decompose_parts.h"

namespace yfx {
namespace decompose {

namespace {

// The iteration stops once a step changes the matrix by less than this
// fraction of its one-norm.
constexpr float kTolerance = 1.0e-6f;
// Newton's method converges quadratically in a handful of steps; the cap only
// guards against a non-finite input cycling forever.
constexpr int kMaxIterations = 100;

using Vec3 = float[3];

float dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void cross(const Vec3& a, const Vec3& b, Vec3& out) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

Mat3 transpose(const Mat3& a) {
    Mat3 t;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            t.m[i][j] = a.m[j][i];
        }
    }
    return t;
}

Mat3 multiply(const Mat3& a, const Mat3& b) {
    Mat3 c;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            c.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
        }
    }
    return c;
}

// Rows of the result are the cross products of the other two rows: the
// transpose of the adjugate, det(a) times the inverse transpose.
Mat3 adjointTranspose(const Mat3& a) {
    Mat3 r;
    cross(a.m[1], a.m[2], r.m[0]);
    cross(a.m[2], a.m[0], r.m[1]);
    cross(a.m[0], a.m[1], r.m[2]);
    return r;
}

// Largest absolute column sum (byColumns) or row sum.
float maxAbsSum(const Mat3& a, bool byColumns) {
    float best = 0.0f;
    for (int i = 0; i < 3; ++i) {
        float sum = 0.0f;
        for (int j = 0; j < 3; ++j) {
            sum += std::fabs(byColumns ? a.m[j][i] : a.m[i][j]);
        }
        if (best < sum) {
            best = sum;
        }
    }
    return best;
}

float normOne(const Mat3& a) {
    return maxAbsSum(a, true);
}

float normInf(const Mat3& a) {
    return maxAbsSum(a, false);
}

// Column holding the entry of largest magnitude, or -1 for the zero matrix.
int columnOfLargestEntry(const Mat3& a) {
    float best = 0.0f;
    int column = -1;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const float mag = std::fabs(a.m[i][j]);
            if (mag > best) {
                best = mag;
                column = j;
            }
        }
    }
    return column;
}

// Householder vector u (I - u u^T reflects v onto the z axis). A zero v gives a
// zero u, whose reflection is the identity, instead of dividing by zero.
void makeReflector(const Vec3& v, Vec3& u) {
    const float len = std::sqrt(dot(v, v));
    u[0] = v[0];
    u[1] = v[1];
    u[2] = v[2] + ((v[2] < 0.0f) ? -len : len);
    const float uu = dot(u, u);
    if (uu == 0.0f) {
        u[0] = u[1] = u[2] = 0.0f;
        return;
    }
    const float s = std::sqrt(2.0f / uu);
    u[0] *= s;
    u[1] *= s;
    u[2] *= s;
}

// a = (I - u u^T) a
void reflectColumns(Mat3& a, const Vec3& u) {
    for (int i = 0; i < 3; ++i) {
        const float s = u[0] * a.m[0][i] + u[1] * a.m[1][i] + u[2] * a.m[2][i];
        for (int j = 0; j < 3; ++j) {
            a.m[j][i] -= u[j] * s;
        }
    }
}

// a = a (I - u u^T)
void reflectRows(Mat3& a, const Vec3& u) {
    for (int i = 0; i < 3; ++i) {
        const float s = dot(u, a.m[i]);
        for (int j = 0; j < 3; ++j) {
            a.m[i][j] -= u[j] * s;
        }
    }
}

// Orthogonal factor of a block of rank 1 or 0: two reflections bring the
// block to a single entry in the corner.
Mat3 orthogonalFactorRank1(Mat3 a) {
    Mat3 q = identity3();
    const int col = columnOfLargestEntry(a);
    if (col < 0) {
        return q;
    }
    Vec3 v1 = {a.m[0][col], a.m[1][col], a.m[2][col]};
    makeReflector(v1, v1);
    reflectColumns(a, v1);
    Vec3 v2 = {a.m[2][0], a.m[2][1], a.m[2][2]};
    makeReflector(v2, v2);
    reflectRows(a, v2);
    if (a.m[2][2] < 0.0f) {
        q.m[2][2] = -1.0f;
    }
    reflectColumns(q, v1);
    reflectRows(q, v2);
    return q;
}

// Orthogonal factor of a block of rank 2 or less, from a non-zero column of
// its adjoint transpose (the normal of the plane the block spans).
Mat3 orthogonalFactorRank2(Mat3 a, const Mat3& adjT) {
    const int col = columnOfLargestEntry(adjT);
    if (col < 0) {
        return orthogonalFactorRank1(a);
    }
    Vec3 v1 = {adjT.m[0][col], adjT.m[1][col], adjT.m[2][col]};
    makeReflector(v1, v1);
    reflectColumns(a, v1);
    Vec3 v2;
    cross(a.m[0], a.m[1], v2);
    makeReflector(v2, v2);
    reflectRows(a, v2);
    const float w = a.m[0][0];
    const float x = a.m[0][1];
    const float y = a.m[1][0];
    const float z = a.m[1][1];
    Mat3 q = identity3();
    float c;
    float s;
    const bool rotation = w * z > x * y;
    if (rotation) {
        c = z + w;
        s = y - x;
    } else {
        c = z - w;
        s = y + x;
    }
    const float d = std::sqrt(c * c + s * s);
    if (d != 0.0f) {
        c = c / d;
        s = s / d;
    } else {
        c = 1.0f;
        s = 0.0f;
    }
    if (rotation) {
        q.m[0][0] = q.m[1][1] = c;
        q.m[1][0] = s;
        q.m[0][1] = -s;
    } else {
        q.m[1][1] = c;
        q.m[0][0] = -c;
        q.m[0][1] = q.m[1][0] = s;
    }
    reflectColumns(q, v1);
    reflectRows(q, v2);
    return q;
}

} // namespace

float polarDecompose(const Mat3& m, Mat3& q, Mat3& s) {
    // The iteration runs on the transpose, whose rows are the columns of m.
    Mat3 mk = transpose(m);
    float mOne = normOne(mk);
    float mInf = normInf(mk);
    float det = 0.0f;
    float eOne = 0.0f;
    int iterations = 0;
    do {
        const Mat3 adjT = adjointTranspose(mk);
        det = dot(mk.m[0], adjT.m[0]);
        if (det == 0.0f) {
            mk = orthogonalFactorRank2(mk, adjT);
            break;
        }
        const float adjOne = normOne(adjT);
        const float adjInf = normInf(adjT);
        const float ratio = (adjOne * adjInf) / (mOne * mInf);
        const float gamma = std::sqrt(std::sqrt(ratio) / std::fabs(det));
        const float g1 = gamma * 0.5f;
        const float g2 = 0.5f / (gamma * det);
        Mat3 change = mk;
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                mk.m[i][j] = g1 * mk.m[i][j] + g2 * adjT.m[i][j];
                change.m[i][j] -= mk.m[i][j];
            }
        }
        eOne = normOne(change);
        mOne = normOne(mk);
        mInf = normInf(mk);
    } while (eOne > mOne * kTolerance && ++iterations < kMaxIterations);

    q = transpose(mk);
    s = multiply(mk, m);
    for (int i = 0; i < 3; ++i) {
        for (int j = i; j < 3; ++j) {
            s.m[i][j] = s.m[j][i] = 0.5f * (s.m[i][j] + s.m[j][i]);
        }
    }
    return det;
}

} // namespace decompose
} // namespace yfx
