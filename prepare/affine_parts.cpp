#include "prepare/affine_parts.h"

#include <cmath>
#include <cstring>

#include "normalise/index_checks.h"
#include "util/matrix_math.h"

namespace yfx {
namespace prepare {

bool allFinite(const float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) {
            return false;
        }
    }
    return true;
}

void makeAffineFinite(float m[16]) {
    bool linearFinite = true;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            linearFinite = linearFinite && std::isfinite(m[4 * r + c]);
        }
    }
    if (!linearFinite) {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                m[4 * r + c] = r == c ? 1.0f : 0.0f;
            }
        }
    }
    if (!std::isfinite(m[3]) || !std::isfinite(m[7]) || !std::isfinite(m[11])) {
        m[3] = 0.0f;
        m[7] = 0.0f;
        m[11] = 0.0f;
    }
    m[12] = 0.0f;
    m[13] = 0.0f;
    m[14] = 0.0f;
    m[15] = 1.0f;
}

void relativeMatrix(const float* parent, const float child[16], float out[16]) {
    if (parent == nullptr) {
        std::memcpy(out, child, 16 * sizeof(float));
        return;
    }
    float inverse[16];
    invert4x4(parent, inverse);
    multiply4x4(inverse, child, out);
}

FiniteParts decomposeFinite(const float m[16]) {
    AffineDecomposition d;
    decomposeAffine(m, d);
    FiniteParts parts;
    if (allFinite(d.t, 3)) {
        std::memcpy(parts.position, d.t, sizeof parts.position);
    }
    if (allFinite(d.q, 4)) {
        std::memcpy(parts.rotation, d.q, sizeof parts.rotation);
    }
    const float sign = d.f < 0.0f ? d.f : 1.0f;
    const float scale[3] = {d.k[0] * sign, d.k[1] * sign, d.k[2] * sign};
    if (allFinite(scale, 3)) {
        std::memcpy(parts.scale, scale, sizeof parts.scale);
    }
    return parts;
}

void composeParts(const FiniteParts& parts, float out[16]) {
    quatToMatrix(parts.rotation, out);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            out[4 * r + c] *= parts.scale[c];
        }
        out[4 * r + 3] = parts.position[r];
    }
}

std::int32_t validParent(std::int32_t parent, std::size_t self, std::size_t count) {
    if (!normalise::indexIn(parent, count) || static_cast<std::size_t>(parent) == self) {
        return -1;
    }
    return parent;
}

} // namespace prepare
} // namespace yfx
