#include "model/key_curves.h"

#include "model/space_math.h"

#include <algorithm>
#include <cmath>

namespace yfx {
namespace model {

namespace {

Quat quatAt(const std::vector<double>& v, std::size_t key) {
    const double* q = &v[key * 4];
    return Quat(q[3], q[0], q[1], q[2]);
}

// A spline can pass through (or near) zero; that has no rotation, so it is
// taken as none rather than giving a degenerate matrix.
void normalise(double* q) {
    const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (!(n > 1e-12) || !std::isfinite(n)) {
        q[0] = q[1] = q[2] = 0, q[3] = 1;
        return;
    }
    for (int i = 0; i < 4; ++i) {
        q[i] /= n;
    }
}

} // namespace

void sampleCurve(const KeyCurve& curve, double seconds, double* out) {
    const std::size_t n = curve.times.size();
    const std::size_t c = std::size_t(curve.components);
    if (n == 0 || c == 0) {
        return;
    }
    const std::size_t after = std::size_t(
        std::upper_bound(curve.times.begin(), curve.times.end(), seconds) - curve.times.begin());
    if (after == 0 || after >= n) {
        const std::size_t key = after == 0 ? 0 : n - 1;
        std::copy_n(curve.values.begin() + std::ptrdiff_t(key * c), c, out);
        if (c == 4) {
            normalise(out);
        }
        return;
    }
    const std::size_t k0 = after - 1, k1 = after;
    const double d = curve.times[k1] - curve.times[k0];
    const double s = d > 0 ? (seconds - curve.times[k0]) / d : 0.0;
    const double* v0 = &curve.values[k0 * c];
    const double* v1 = &curve.values[k1 * c];
    switch (curve.interpolation) {
    case KeyInterpolation::Step:
        std::copy_n(v0, c, out);
        break;
    case KeyInterpolation::Linear:
        if (c == 4) {
            Quat q;
            Quat::Interpolate(q, quatAt(curve.values, k0), quatAt(curve.values, k1), s);
            out[0] = q.x, out[1] = q.y, out[2] = q.z, out[3] = q.w;
        } else {
            for (std::size_t i = 0; i < c; ++i) {
                out[i] = v0[i] + (v1[i] - v0[i]) * s;
            }
        }
        break;
    case KeyInterpolation::CubicSpline: {
        const double s2 = s * s, s3 = s2 * s;
        const double h00 = 2 * s3 - 3 * s2 + 1, h10 = s3 - 2 * s2 + s, h01 = -2 * s3 + 3 * s2,
                     h11 = s3 - s2;
        const double* b0 = &curve.outTangents[k0 * c];
        const double* a1 = &curve.inTangents[k1 * c];
        for (std::size_t i = 0; i < c; ++i) {
            out[i] = h00 * v0[i] + h10 * d * b0[i] + h01 * v1[i] + h11 * d * a1[i];
        }
        break;
    }
    }
    if (c == 4) {
        normalise(out);
    }
}

} // namespace model
} // namespace yfx
