#include "document/doc_animation.h"

namespace yfx {

void alignRotationKeys(DocAnimation& animation) {
    for (DocTrack& track : animation.tracks) {
        std::vector<DocRotationKey>& keys = track.rotation_keys;
        for (std::size_t i = 1; i < keys.size(); ++i) {
            const float* p = keys[i - 1].value;
            float* q = keys[i].value;
            const float dot = p[0] * q[0] + p[1] * q[1] + p[2] * q[2] + p[3] * q[3];
            if (dot < 0.0f) {
                for (int c = 0; c < 4; ++c) {
                    q[c] = -q[c];
                }
            }
        }
    }
}

} // namespace yfx
