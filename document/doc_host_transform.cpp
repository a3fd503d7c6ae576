#include "document/doc_host_transform.h"

#include "util/matrix_math.h"

namespace yfx {

void hostToMatrix(const float host[12], float out[16]) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            out[4 * r + c] = host[3 * c + r];
        }
    }
    out[12] = 0.0f;
    out[13] = 0.0f;
    out[14] = 0.0f;
    out[15] = 1.0f;
}

void transformFromHostMatrix(DocTransform& transform, const float host[12]) {
    float m[16];
    hostToMatrix(host, m);

    AffineDecomposition parts;
    decomposeAffine(m, parts);
    const float sign = parts.f < 0.0f ? parts.f : 1.0f;
    for (int i = 0; i < 3; ++i) {
        transform.position[i] = parts.t[i];
        transform.scale[i] = parts.k[i] * sign;
    }
    for (int i = 0; i < 4; ++i) {
        transform.quaternion[i] = parts.q[i];
    }
}

} // namespace yfx
