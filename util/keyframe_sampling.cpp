#include "util/keyframe_sampling.h"

#include <cmath>
#include <vector>

#include "util/matrix_math.h"

namespace yfx {

namespace {

const DocTrack* trackAt(const DocAnimation& animation, std::int32_t track) {
    if (track < 0 || static_cast<std::size_t>(track) >= animation.tracks.size()) {
        return nullptr;
    }
    return &animation.tracks[static_cast<std::size_t>(track)];
}

// The first key at or after `from` whose time is >= `time`; the key count when
// there is none. A NaN time on either side never compares >=, so a NaN key is
// passed over and a NaN `time` finds no key.
template <class Key>
std::size_t firstKeyNotBefore(const std::vector<Key>& keys, std::size_t from, float time) {
    std::size_t i = from;
    while (i < keys.size() && !(keys[i].time >= time)) {
        ++i;
    }
    return i;
}

// The two keys around `time` given the first key not before it, and how far
// `time` lies from the earlier to the later one, in [0, 1].
struct Bracket {
    std::size_t lo;
    std::size_t hi;
    float fraction;
};

template <class Key>
Bracket bracketAt(const std::vector<Key>& keys, std::size_t first, float time) {
    const std::size_t n = keys.size();
    Bracket b{first == 0 ? 0 : first - 1, first < n ? first : n - 1, 0.0f};
    if (b.lo == b.hi) {
        return b;
    }
    float span = keys[b.hi].time - keys[b.lo].time;
    if (span == 0.0f) {
        span = 1.0f;
    }
    const float f = (time - keys[b.lo].time) / span;
    // A NaN fraction (a NaN time, or infinite key times) takes the later key:
    // the first key not before `time`, or the last key when none is.
    if (std::isnan(f) || f > 1.0f) {
        b.fraction = 1.0f;
    } else if (f > 0.0f) {
        b.fraction = f;
    }
    return b;
}

void copyValue(const float* from, std::size_t count, float* out) {
    for (std::size_t c = 0; c < count; ++c) {
        out[c] = from[c];
    }
}

template <std::size_t N, class Key>
void lerpAt(const std::vector<Key>& keys, std::size_t first, float time, float out[N]) {
    const Bracket b = bracketAt(keys, first, time);
    const float* lo = keys[b.lo].value;
    const float* hi = keys[b.hi].value;
    // The ends are the keys themselves: a time on a key returns exactly that
    // key, also where hi - lo would round or overflow.
    if (b.fraction == 0.0f || b.lo == b.hi) {
        copyValue(lo, N, out);
    } else if (b.fraction == 1.0f) {
        copyValue(hi, N, out);
    } else {
        for (std::size_t c = 0; c < N; ++c) {
            out[c] = lo[c] + (hi[c] - lo[c]) * b.fraction;
        }
    }
}

void slerpAt(const std::vector<DocRotationKey>& keys, std::size_t first, float time, float out[4]) {
    const Bracket b = bracketAt(keys, first, time);
    // As for positions, a time on a key returns that key, not its negation.
    if (b.fraction == 0.0f || b.lo == b.hi) {
        copyValue(keys[b.lo].value, 4, out);
        return;
    }
    if (b.fraction == 1.0f) {
        copyValue(keys[b.hi].value, 4, out);
        return;
    }
    slerp(keys[b.lo].value, keys[b.hi].value, b.fraction, out);
}

constexpr float kNoPosition[3] = {0.0f, 0.0f, 0.0f};
constexpr float kNoRotation[4] = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kNoScale[3] = {1.0f, 1.0f, 1.0f};

} // namespace

void sampleTrackPosition(const DocAnimation& animation, std::int32_t track, float time,
                         float out[3]) {
    const DocTrack* t = trackAt(animation, track);
    if (t == nullptr || t->position_keys.empty()) {
        copyValue(kNoPosition, 3, out);
        return;
    }
    lerpAt<3>(t->position_keys, firstKeyNotBefore(t->position_keys, 0, time), time, out);
}

void sampleTrackRotation(const DocAnimation& animation, std::int32_t track, float time,
                         float out[4]) {
    const DocTrack* t = trackAt(animation, track);
    if (t == nullptr || t->rotation_keys.empty()) {
        copyValue(kNoRotation, 4, out);
        return;
    }
    slerpAt(t->rotation_keys, firstKeyNotBefore(t->rotation_keys, 0, time), time, out);
}

void sampleTrackScale(const DocAnimation& animation, std::int32_t track, float time, float out[3]) {
    const DocTrack* t = trackAt(animation, track);
    if (t == nullptr || t->scale_keys.empty()) {
        copyValue(kNoScale, 3, out);
        return;
    }
    lerpAt<3>(t->scale_keys, firstKeyNotBefore(t->scale_keys, 0, time), time, out);
}

void animationTimeRange(const DocAnimation& animation, float& start, float& end) {
    // Every key time that is a number counts, the largest float and the
    // infinities included; NaN times are passed over, and with no other key
    // the range is (0, 0).
    float earliest = INFINITY;
    float latest = -INFINITY;
    bool anyKey = false;
    const auto widen = [&](float time) {
        if (std::isnan(time)) {
            return;
        }
        anyKey = true;
        earliest = std::fmin(earliest, time);
        latest = std::fmax(latest, time);
    };
    for (const DocTrack& track : animation.tracks) {
        for (const DocPositionKey& key : track.position_keys) {
            widen(key.time);
        }
        for (const DocRotationKey& key : track.rotation_keys) {
            widen(key.time);
        }
        for (const DocScaleKey& key : track.scale_keys) {
            widen(key.time);
        }
    }
    start = anyKey ? earliest : 0.0f;
    end = anyKey ? latest : 0.0f;
}

namespace {

// Moves a list's cursor to the first key not before `time`: onwards from the
// last search when `time` has not gone back (the answer can only lie there),
// from the first key otherwise.
template <class Key>
std::size_t advance(const std::vector<Key>& keys, std::size_t& first, float& last, float time) {
    const std::size_t from = time >= last ? first : 0;
    first = firstKeyNotBefore(keys, from, time);
    last = time;
    return first;
}

} // namespace

TrackSampler::TrackSampler(const DocAnimation& animation, std::int32_t track)
    : track_(trackAt(animation, track)) {}

void TrackSampler::position(float time, float out[3]) {
    if (track_ == nullptr || track_->position_keys.empty()) {
        copyValue(kNoPosition, 3, out);
        return;
    }
    const auto& keys = track_->position_keys;
    lerpAt<3>(keys, advance(keys, position_.first, position_.time, time), time, out);
}

void TrackSampler::rotation(float time, float out[4]) {
    if (track_ == nullptr || track_->rotation_keys.empty()) {
        copyValue(kNoRotation, 4, out);
        return;
    }
    const auto& keys = track_->rotation_keys;
    slerpAt(keys, advance(keys, rotation_.first, rotation_.time, time), time, out);
}

void TrackSampler::scale(float time, float out[3]) {
    if (track_ == nullptr || track_->scale_keys.empty()) {
        copyValue(kNoScale, 3, out);
        return;
    }
    const auto& keys = track_->scale_keys;
    lerpAt<3>(keys, advance(keys, scale_.first, scale_.time, time), time, out);
}

} // namespace yfx
