#include <cmath>

#include "util/matrix_math.h"

namespace yfx {

namespace {

constexpr float kHalfPi = 1.57079632679489661923f;
// Closer than this to parallel (or opposite), sin(omega) is too small to
// divide by.
constexpr float kParallelLimit = 1e-8f;

} // namespace

void slerp(const float p[4], const float q[4], float t, float out[4]) {
    // Of q and -q (the same rotation) take the one nearer p: the short way round.
    float diff = 0.0f;
    float sum = 0.0f;
    for (int i = 0; i < 4; ++i) {
        diff += (p[i] - q[i]) * (p[i] - q[i]);
        sum += (p[i] + q[i]) * (p[i] + q[i]);
    }
    float target[4];
    const float sign = diff > sum ? -1.0f : 1.0f;
    for (int i = 0; i < 4; ++i) {
        target[i] = sign * q[i];
    }
    const float c = p[0] * target[0] + p[1] * target[1] + p[2] * target[2] + p[3] * target[3];
    if (1.0f + c > kParallelLimit) {
        float a;
        float b;
        if (1.0f - c > kParallelLimit) {
            const float omega = std::acos(c);
            const float sinOmega = std::sin(omega);
            a = std::sin((1.0f - t) * omega) / sinOmega;
            b = std::sin(t * omega) / sinOmega;
        } else {
            a = 1.0f - t;
            b = t;
        }
        for (int i = 0; i < 4; ++i) {
            out[i] = a * p[i] + b * target[i];
        }
        return;
    }
    // Opposite quaternions: interpolate towards the quaternion perpendicular to
    // p, (-py, px, -pw, pz), over a quarter circle.
    const float a = std::sin((1.0f - t) * kHalfPi);
    const float b = std::sin(t * kHalfPi);
    out[0] = a * p[0] - b * p[1];
    out[1] = a * p[1] + b * p[0];
    out[2] = a * p[2] - b * p[3];
    out[3] = a * p[3] + b * p[2];
}

} // namespace yfx
