#include "model/host_placement.h"

#include <dznode.h>
#include <dzquat.h>
#include <dzvec3.h>

#include <cmath>

namespace yfx {
namespace model {

namespace {

using Rows = double[3][3];

double length(const double v[3]) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

// X = diag(s) * R (row form: row i of X is s_i times row i of R), R a
// rotation made from X's rows by Gram-Schmidt; a reflection goes into s_0.
void scaleRotation(const DzMatrix3& x, double s[3], DzMatrix3& rotation) {
    Rows r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            r[i][j] = x[i][j];
        }
        s[i] = length(r[i]);
    }
    const double det = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
                       r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
                       r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
    if (det < 0) {
        s[0] = -s[0];
        for (double& v : r[0]) {
            v = -v;
        }
    }
    rotation = DzMatrix3(true);
    if (!(std::fabs(s[0]) > 1e-12 && s[1] > 1e-12) || !std::isfinite(det)) {
        return; // degenerate: no rotation can be told
    }
    double a[3], b[3], c[3];
    for (int j = 0; j < 3; ++j) {
        a[j] = r[0][j] / std::fabs(s[0]);
    }
    const double ab = a[0] * r[1][0] + a[1] * r[1][1] + a[2] * r[1][2];
    for (int j = 0; j < 3; ++j) {
        b[j] = r[1][j] - ab * a[j];
    }
    const double lb = length(b);
    if (!(lb > 1e-12)) {
        return;
    }
    for (double& v : b) {
        v /= lb;
    }
    c[0] = a[1] * b[2] - a[2] * b[1];
    c[1] = a[2] * b[0] - a[0] * b[2];
    c[2] = a[0] * b[1] - a[1] * b[0];
    for (int j = 0; j < 3; ++j) {
        rotation[0][j] = float(a[j]);
        rotation[1][j] = float(b[j]);
        rotation[2][j] = float(c[j]);
    }
}

} // namespace

Mat4 fromHost(const DzMatrix3& m) {
    Mat4 out;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[c][r] = m[r][c];
        }
        out[r][3] = m[3][r];
    }
    return out;
}

DzMatrix3 toHost(const Mat4& m) {
    DzMatrix3 out(true);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[r][c] = float(m[c][r]);
        }
        out[3][r] = float(m[r][3]);
    }
    return out;
}

void placeNode(DzNode& node, const Mat4& local, bool keyed, DzTime time) {
    if (!isFinite(local)) {
        return;
    }
    // The host's local transform is scale * rotation * translation with the
    // scale taken along the oriented axes, o^-1 * diag(s) * o; so o * linear *
    // o^-1 splits into diag(s) * E, E the rotation its Euler angles hold.
    DzMatrix3 linear = toHost(local);
    const DzVec3 position = linear.row(3);
    linear.noTrans();
    const DzMatrix3 o(node.getOrientation());
    const DzMatrix3 oi = o.inverse();
    double s[3];
    DzMatrix3 euler;
    scaleRotation(o * linear * oi, s, euler);
    DzMatrix3 scale = DzMatrix3::scaling(DzVec3(float(s[0]), float(s[1]), float(s[2])));
    scale = oi * scale * o;
    const DzQuat rotation(oi * euler * o);
    if (keyed) {
        node.setLocalTransform(time, position, rotation, scale);
    } else {
        node.setLocalTransform(position, rotation, scale);
    }
}

} // namespace model
} // namespace yfx
