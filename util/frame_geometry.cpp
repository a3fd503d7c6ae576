// Frames built from one axis, and point-to-segment distance.
#include <cmath>

#include "util/matrix_math.h"

namespace yfx {

namespace {

// Components this close count as equal, and vectors this short as zero.
constexpr float kNearly = 0.0001f;

void cross3(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

float length3(const float v[3]) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

bool nearlyEqual3(const float a[3], float x, float y, float z) {
    return std::fabs(a[0] - x) < kNearly && std::fabs(a[1] - y) < kNearly &&
           std::fabs(a[2] - z) < kNearly;
}

// v / |v|, or zero when v is too short to give a direction.
void normalisedOrZero(const float v[3], float out[3]) {
    const float len = length3(v);
    for (int i = 0; i < 3; ++i) {
        out[i] = len > kNearly ? v[i] / len : 0.0f;
    }
}

} // namespace

void orientFromZAxis(const float m[16], float out[16]) {
    const float z[3] = {m[2], m[6], m[10]};
    // The up direction must not be parallel to z, or the cross product vanishes.
    float up[3] = {0.0f, 1.0f, 0.0f};
    if (nearlyEqual3(z, 0.0f, 1.0f, 0.0f)) {
        up[1] = 0.0f;
        up[2] = -1.0f;
    } else if (nearlyEqual3(z, 0.0f, -1.0f, 0.0f)) {
        up[1] = 0.0f;
        up[2] = 1.0f;
    }
    float aRaw[3];
    cross3(up, z, aRaw);
    float bRaw[3];
    cross3(z, aRaw, bRaw);
    float a[3];
    float b[3];
    normalisedOrZero(aRaw, a);
    normalisedOrZero(bRaw, b);

    for (int r = 0; r < 3; ++r) {
        out[4 * r + 0] = a[r];
        out[4 * r + 1] = b[r];
        out[4 * r + 2] = z[r];
        out[4 * r + 3] = m[4 * r + 3];
    }
    for (int c = 12; c < 16; ++c) {
        out[c] = m[c];
    }
}

float pointSegmentDistance(const float p[3], const float a[3], const float b[3]) {
    float ap[3];
    float ab[3];
    for (int i = 0; i < 3; ++i) {
        ap[i] = p[i] - a[i];
        ab[i] = b[i] - a[i];
    }
    const float d = ap[0] * ab[0] + ap[1] * ab[1] + ap[2] * ab[2];
    if (d <= 0.0f) {
        return length3(ap);
    }
    const float lengthSq = ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2];
    float offset[3];
    if (d >= lengthSq) {
        for (int i = 0; i < 3; ++i) {
            offset[i] = p[i] - b[i];
        }
        return length3(offset);
    }
    const float f = lengthSq != 0.0f ? d / lengthSq : 0.0f;
    for (int i = 0; i < 3; ++i) {
        offset[i] = p[i] - (a[i] + f * ab[i]);
    }
    return length3(offset);
}

} // namespace yfx
