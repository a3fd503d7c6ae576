#include "util/matrix_math.h"

namespace yfx {

void setIdentity4x4(float m[16]) {
    for (int i = 0; i < 16; ++i) {
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

void multiply4x4(const float a[16], const float b[16], float out[16]) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += a[4 * i + k] * b[4 * k + j];
            }
            out[4 * i + j] = sum;
        }
    }
}

void composeAffine(const float a[16], const float b[16], float out[16]) {
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 3; ++k) {
                sum += a[4 * i + k] * b[4 * k + j];
            }
            // The implied (0, 0, 0, 1) last row of b carries a's translation.
            out[4 * i + j] = (j == 3) ? sum + a[4 * i + 3] : sum;
        }
    }
    out[12] = 0.0f;
    out[13] = 0.0f;
    out[14] = 0.0f;
    out[15] = 1.0f;
}

void invert4x4(const float m[16], float out[16]) {
    // 2x2 minors of the top two rows (s) and the bottom two rows (c); every
    // cofactor is a combination of one of each.
    const float s0 = m[0] * m[5] - m[4] * m[1];
    const float s1 = m[0] * m[6] - m[4] * m[2];
    const float s2 = m[0] * m[7] - m[4] * m[3];
    const float s3 = m[1] * m[6] - m[5] * m[2];
    const float s4 = m[1] * m[7] - m[5] * m[3];
    const float s5 = m[2] * m[7] - m[6] * m[3];
    const float c5 = m[10] * m[15] - m[14] * m[11];
    const float c4 = m[9] * m[15] - m[13] * m[11];
    const float c3 = m[9] * m[14] - m[13] * m[10];
    const float c2 = m[8] * m[15] - m[12] * m[11];
    const float c1 = m[8] * m[14] - m[12] * m[10];
    const float c0 = m[8] * m[13] - m[12] * m[9];

    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (det == 0.0f) {
        setIdentity4x4(out);
        return;
    }
    const float inv = 1.0f / det;
    float r[16];
    r[0] = (m[5] * c5 - m[6] * c4 + m[7] * c3) * inv;
    r[1] = (-m[1] * c5 + m[2] * c4 - m[3] * c3) * inv;
    r[2] = (m[13] * s5 - m[14] * s4 + m[15] * s3) * inv;
    r[3] = (-m[9] * s5 + m[10] * s4 - m[11] * s3) * inv;
    r[4] = (-m[4] * c5 + m[6] * c2 - m[7] * c1) * inv;
    r[5] = (m[0] * c5 - m[2] * c2 + m[3] * c1) * inv;
    r[6] = (-m[12] * s5 + m[14] * s2 - m[15] * s1) * inv;
    r[7] = (m[8] * s5 - m[10] * s2 + m[11] * s1) * inv;
    r[8] = (m[4] * c4 - m[5] * c2 + m[7] * c0) * inv;
    r[9] = (-m[0] * c4 + m[1] * c2 - m[3] * c0) * inv;
    r[10] = (m[12] * s4 - m[13] * s2 + m[15] * s0) * inv;
    r[11] = (-m[8] * s4 + m[9] * s2 - m[11] * s0) * inv;
    r[12] = (-m[4] * c3 + m[5] * c1 - m[6] * c0) * inv;
    r[13] = (m[0] * c3 - m[1] * c1 + m[2] * c0) * inv;
    r[14] = (-m[12] * s3 + m[13] * s1 - m[14] * s0) * inv;
    r[15] = (m[8] * s3 - m[9] * s1 + m[10] * s0) * inv;
    // Written last so that out may be m itself.
    for (int i = 0; i < 16; ++i) {
        out[i] = r[i];
    }
}

} // namespace yfx
