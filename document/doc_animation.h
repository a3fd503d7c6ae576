// Helpers on animation keys.
#pragma once

#include "document/scene_doc.h"

namespace yfx {

// Quaternion continuity: in every track, each rotation key whose dot product
// with the previous (already adjusted) key is negative is negated.
void alignRotationKeys(DocAnimation& animation);

// True when the track holds a position, rotation or scale key.
inline bool trackHasKeys(const DocTrack& track) {
    return !track.position_keys.empty() || !track.rotation_keys.empty() ||
           !track.scale_keys.empty();
}

} // namespace yfx
