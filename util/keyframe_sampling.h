// Sampling an animation's key lists at a time: linear between position and
// scale keys, spherical between rotation keys, the first or last key outside
// the keys' times. Keys are expected in ascending time order.
//
// The records are the document's (document/doc_scene.h); only their plain
// definitions are used here, so util does not link the document library.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/doc_scene.h"

namespace yfx {

// The value of a track's list at `time`; a track index outside the
// animation's tracks, or an empty list, gives position (0, 0, 0), rotation
// (0, 0, 0, 1) or scale (1, 1, 1). The keys around `time` are the first key
// whose time is >= `time` (in list order, whatever the order of the times)
// and the one before it; a time on a key gives that key unchanged, and a NaN
// time the last key.
void sampleTrackPosition(const DocAnimation& animation, std::int32_t track, float time,
                         float out[3]);
void sampleTrackRotation(const DocAnimation& animation, std::int32_t track, float time,
                         float out[4]);
void sampleTrackScale(const DocAnimation& animation, std::int32_t track, float time, float out[3]);

// Earliest and latest key time over every list of every track; NaN times
// are passed over, and with no other key at all the range is (0, 0).
void animationTimeRange(const DocAnimation& animation, float& start, float& end);

// The same sampling for one track at times that do not decrease from call to
// call (frame after frame): each list's search goes on from where the last
// call left it instead of starting again at the first key, so sampling n
// frames costs O(n + keys). The results are those of the functions above;
// a time earlier than the previous one (or after a NaN time) starts that
// list's search again. The sampler points into the animation, which must
// outlive it unchanged.
class TrackSampler {
public:
    TrackSampler(const DocAnimation& animation, std::int32_t track);
    void position(float time, float out[3]);
    void rotation(float time, float out[4]);
    void scale(float time, float out[3]);

private:
    // Where one list's last search ended: the first key at or after the last
    // time asked for. The first key at or after a later time cannot come
    // before it, whatever the order of the keys' times.
    struct Cursor {
        std::size_t first = 0;
        float time = 0.0f;
    };

    const DocTrack* track_ = nullptr;
    Cursor position_;
    Cursor rotation_;
    Cursor scale_;
};

} // namespace yfx
