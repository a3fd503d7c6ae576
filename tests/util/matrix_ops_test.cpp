// Products and inverses of 4x4 and affine matrices.
#include <gtest/gtest.h>

#include <random>

#include "util/matrix_math.h"

namespace {

void expectIdentity(const float m[16], float tol) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m[i], (i % 5 == 0) ? 1.0f : 0.0f, tol) << "element " << i;
    }
}

} // namespace

TEST(MatrixOps, ComposeAffineAddsTranslationAndIgnoresLastRows) {
    // a: scale 2 then translate (1, 2, 3); b: translate (10, 0, 0).
    // The last rows hold junk that an affine product must not read.
    const float a[16] = {2, 0, 0, 1, 0, 2, 0, 2, 0, 0, 2, 3, 9, 9, 9, 9};
    const float b[16] = {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 7, 7, 7, 7};
    float out[16];
    yfx::composeAffine(a, b, out);
    const float expected[16] = {2, 0, 0, 21, 0, 2, 0, 2, 0, 0, 2, 3, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(out[i], expected[i]) << "element " << i;
    }
}

TEST(MatrixOps, InvertTimesOriginalIsIdentity) {
    std::mt19937 rng(7u);
    std::uniform_real_distribution<float> entry(-2.0f, 2.0f);
    for (int n = 0; n < 200; ++n) {
        float m[16];
        for (float& v : m) {
            v = entry(rng);
        }
        // Diagonal dominance keeps the matrices well conditioned.
        for (int i = 0; i < 4; ++i) {
            m[5 * i] += 8.0f;
        }
        float inv[16];
        yfx::invert4x4(m, inv);
        float left[16];
        float right[16];
        yfx::multiply4x4(inv, m, left);
        yfx::multiply4x4(m, inv, right);
        expectIdentity(left, 1e-5f);
        expectIdentity(right, 1e-5f);
    }
}

TEST(MatrixOps, InvertOfSingularMatrixIsIdentity) {
    // Two equal rows: determinant exactly zero.
    const float singular[16] = {1, 2, 3, 4, 1, 2, 3, 4, 0, 1, 0, 0, 0, 0, 0, 1};
    float out[16];
    for (float& v : out) {
        v = 42.0f;
    }
    yfx::invert4x4(singular, out);
    expectIdentity(out, 0.0f);
    const float zero[16] = {};
    yfx::invert4x4(zero, out);
    expectIdentity(out, 0.0f);
}
