#include "util/matrix_math.h"

namespace yfx {

void setIdentity4x4(float m[16]) {
    for (int i = 0; i < 16; ++i) {
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

} // namespace yfx
