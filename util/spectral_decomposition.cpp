// S = U K U^T by cyclic Jacobi rotations, and the axis adjustment ("snuggle")
// of Shoemake and Duff that picks, among the equivalent U, the one closest to
// the identity. Single precision throughout, in the published order of
// operations.
#include <cmath>

#include "util/decompose_parts.h"

namespace yfx {
namespace decompose {

namespace {

constexpr int kMaxSweeps = 20;
constexpr float kSqrtHalf = 0.7071067811865475244f;

// Each off-diagonal term is named by the index it omits: off[0] = s12,
// off[1] = s20, off[2] = s01; next[i] is the axis after i.
constexpr int kNext[3] = {1, 2, 0};

void swapEntries(float k[3], int a, int b) {
    const float t = k[a];
    k[a] = k[b];
    k[b] = t;
}

// toLeft: (k0, k1, k2) becomes (k1, k2, k0); otherwise (k2, k0, k1).
void cycle(float k[3], bool toLeft) {
    if (toLeft) {
        const float t = k[0];
        k[0] = k[1];
        k[1] = k[2];
        k[2] = t;
    } else {
        const float t = k[2];
        k[2] = k[1];
        k[1] = k[0];
        k[0] = t;
    }
}

float withSign(bool negative, float v) {
    return negative ? -v : v;
}

// Two or three equal scale factors: the rotation may turn freely in the plane
// (or space) of the repeated ones. `turn` is the axis whose factor differs, or
// 3 when all three agree.
Quat snuggleRepeated(Quat q, float k[3], int turn) {
    const Quat xToZ = {0.0f, kSqrtHalf, 0.0f, kSqrtHalf};
    const Quat yToZ = {kSqrtHalf, 0.0f, 0.0f, kSqrtHalf};
    const Quat ppmm = {0.5f, 0.5f, -0.5f, -0.5f};
    const Quat pppp = {0.5f, 0.5f, 0.5f, 0.5f};
    const Quat mpmm = {-0.5f, 0.5f, -0.5f, -0.5f};
    const Quat pppm = {0.5f, 0.5f, 0.5f, -0.5f};
    const Quat unit = {0.0f, 0.0f, 0.0f, 1.0f};
    const Quat halfTurnX = {1.0f, 0.0f, 0.0f, 0.0f};

    Quat toZ = unit;
    switch (turn) {
    case 0:
        toZ = xToZ;
        q = quatMul(q, toZ);
        swapEntries(k, 0, 2);
        break;
    case 1:
        toZ = yToZ;
        q = quatMul(q, toZ);
        swapEntries(k, 1, 2);
        break;
    case 2:
        break;
    default:
        // Uniform scale: any rotation will do, so undo q entirely.
        return quatConj(q);
    }
    q = quatConj(q);
    float mag[3] = {q.z * q.z + q.w * q.w - 0.5f, q.x * q.z - q.y * q.w, q.y * q.z + q.x * q.w};
    bool neg[3];
    for (int i = 0; i < 3; ++i) {
        neg[i] = mag[i] < 0.0f;
        if (neg[i]) {
            mag[i] = -mag[i];
        }
    }
    int win;
    if (mag[0] > mag[1]) {
        win = (mag[0] > mag[2]) ? 0 : 2;
    } else {
        win = (mag[1] > mag[2]) ? 1 : 2;
    }
    Quat p;
    switch (win) {
    case 0:
        p = neg[0] ? halfTurnX : unit;
        break;
    case 1:
        p = neg[1] ? ppmm : pppp;
        cycle(k, false);
        break;
    default:
        p = neg[2] ? mpmm : pppm;
        cycle(k, true);
        break;
    }
    const Quat qp = quatMul(q, p);
    const float t = std::sqrt(mag[win] + 0.5f);
    p = quatMul(p, Quat{0.0f, 0.0f, -qp.z / t, qp.w / t});
    return quatMul(toZ, quatConj(p));
}

// Distinct scale factors: p is one of the 24 rotations that permute the axes,
// the one whose product with q has the largest w.
Quat snuggleDistinct(const Quat& q, float k[3]) {
    float qa[4] = {q.x, q.y, q.z, q.w};
    float pa[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    bool neg[4];
    bool parity = false;
    for (int i = 0; i < 4; ++i) {
        neg[i] = qa[i] < 0.0f;
        if (neg[i]) {
            qa[i] = -qa[i];
        }
        parity = parity != neg[i];
    }
    // hi and lo: the indices of the two largest magnitudes.
    unsigned lo = (qa[0] > qa[1]) ? 0u : 1u;
    unsigned hi = (qa[2] > qa[3]) ? 2u : 3u;
    if (qa[lo] > qa[hi]) {
        if (qa[lo ^ 1u] > qa[hi]) {
            hi = lo;
            lo ^= 1u;
        } else {
            const unsigned t = hi;
            hi = lo;
            lo = t;
        }
    } else if (qa[hi ^ 1u] > qa[lo]) {
        lo = hi ^ 1u;
    }
    const float all = (qa[0] + qa[1] + qa[2] + qa[3]) * 0.5f;
    const float two = (qa[hi] + qa[lo]) * kSqrtHalf;
    const float big = qa[hi];
    const bool third = all > two ? all > big : false;
    const bool quarter = all > two ? false : two > big;
    if (third) {
        // Turn by 120 degrees about a diagonal: the factors cycle.
        for (int i = 0; i < 4; ++i) {
            pa[i] = withSign(neg[i], 0.5f);
        }
        cycle(k, parity);
    } else if (quarter) {
        // Quarter turn about one axis: the other two factors swap.
        pa[hi] = withSign(neg[hi], kSqrtHalf);
        pa[lo] = withSign(neg[lo], kSqrtHalf);
        if (lo > hi) {
            const unsigned t = hi;
            hi = lo;
            lo = t;
        }
        if (hi == 3u) {
            static constexpr unsigned kAfter[3] = {1u, 2u, 0u};
            hi = kAfter[lo];
            lo = 3u - hi - lo;
        }
        swapEntries(k, static_cast<int>(hi), static_cast<int>(lo));
    } else {
        // Half turn about one axis (or none): the factors stay.
        pa[hi] = withSign(neg[hi], 1.0f);
    }
    return Quat{-pa[0], -pa[1], -pa[2], pa[3]};
}

} // namespace

void spectralDecompose(const Mat3& s, Mat3& u, float k[3]) {
    u = identity3();
    float diag[3] = {s.m[0][0], s.m[1][1], s.m[2][2]};
    float off[3] = {s.m[1][2], s.m[2][0], s.m[0][1]};
    for (int sweep = kMaxSweeps; sweep > 0; --sweep) {
        const float sum = std::fabs(off[0]) + std::fabs(off[1]) + std::fabs(off[2]);
        if (sum == 0.0f) {
            break;
        }
        for (int i = 2; i >= 0; --i) {
            const int p = kNext[i];
            const int q = kNext[p];
            const float absOff = std::fabs(off[i]);
            if (!(absOff > 0.0f)) {
                continue;
            }
            const float g = 100.0f * absOff;
            const float h = diag[q] - diag[p];
            const float absH = std::fabs(h);
            float t;
            if (absH + g == absH) {
                // The term is negligible against the gap: t = tan(angle) ~ a/h.
                t = off[i] / h;
            } else {
                const float theta = 0.5f * h / off[i];
                t = 1.0f / (std::fabs(theta) + std::sqrt(theta * theta + 1.0f));
                if (theta < 0.0f) {
                    t = -t;
                }
            }
            const float c = 1.0f / std::sqrt(t * t + 1.0f);
            const float sn = t * c;
            const float tau = sn / (c + 1.0f);
            const float ta = t * off[i];
            off[i] = 0.0f;
            diag[p] -= ta;
            diag[q] += ta;
            const float offQ = off[q];
            off[q] -= sn * (off[p] + tau * off[q]);
            off[p] += sn * (offQ - tau * off[p]);
            for (int j = 2; j >= 0; --j) {
                const float a = u.m[j][p];
                const float b = u.m[j][q];
                u.m[j][p] = u.m[j][p] - sn * (b + tau * a);
                u.m[j][q] = u.m[j][q] + sn * (a - tau * b);
            }
        }
    }
    for (int i = 0; i < 3; ++i) {
        k[i] = diag[i];
    }
}

Quat snuggle(Quat q, float k[3]) {
    int turn = -1;
    if (k[0] == k[1]) {
        turn = (k[0] == k[2]) ? 3 : 2;
    } else if (k[0] == k[2]) {
        turn = 1;
    } else if (k[1] == k[2]) {
        turn = 0;
    }
    return turn >= 0 ? snuggleRepeated(q, k, turn) : snuggleDistinct(q, k);
}

} // namespace decompose
} // namespace yfx
