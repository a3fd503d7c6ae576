#include "prepare/track_keys.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "document/doc_append.h"
#include "prepare/affine_parts.h"
#include "util/matrix_math.h"

namespace yfx {
namespace prepare {

namespace {

template <typename Key> void shiftTimes(std::vector<Key>& keys, float by) {
    for (Key& key : keys) {
        key.time -= by;
    }
}

// Runs visit(time) over every key time of every track.
template <typename Visit> void forEachKeyTime(const DocAnimation& animation, Visit visit) {
    for (const DocTrack& track : animation.tracks) {
        for (const DocPositionKey& key : track.position_keys) {
            visit(key.time);
        }
        for (const DocRotationKey& key : track.rotation_keys) {
            visit(key.time);
        }
        for (const DocScaleKey& key : track.scale_keys) {
            visit(key.time);
        }
    }
}

// Hamilton product a * b, quaternions x, y, z, w. The terms are paired so
// that, for a = conjugate of b, each pair cancels exactly.
void quatMultiply(const float a[4], const float b[4], float out[4]) {
    out[0] = (a[3] * b[0] + a[0] * b[3]) + (a[1] * b[2] - a[2] * b[1]);
    out[1] = (a[3] * b[1] + a[1] * b[3]) + (a[2] * b[0] - a[0] * b[2]);
    out[2] = (a[3] * b[2] + a[2] * b[3]) + (a[0] * b[1] - a[1] * b[0]);
    out[3] = a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2];
}

// The keys of one track re-expressed against one bone's rest pose.
void trackRelativeToRest(const DocBone& bone, DocTrack& track) {
    float rest[16];
    quatToMatrix(bone.rotation, rest);
    for (DocPositionKey& key : track.position_keys) {
        const float d[3] = {key.value[0] - bone.position[0], key.value[1] - bone.position[1],
                            key.value[2] - bone.position[2]};
        float v[3];
        // The transposed rest rotation applied to the offset: column c of R
        // dotted with d.
        for (int c = 0; c < 3; ++c) {
            v[c] = rest[c] * d[0] + rest[4 + c] * d[1] + rest[8 + c] * d[2];
        }
        if (allFinite(v, 3)) {
            std::memcpy(key.value, v, sizeof v);
        } else {
            key.value[0] = key.value[1] = key.value[2] = 0.0f;
        }
    }

    const float* q = bone.rotation;
    const float length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (length != 0.0f) {
        // Q^-1 * k as conj(Q) * k scaled by 1 / |Q|: scaling after the
        // product lets the vector part cancel exactly where k equals Q.
        const float conjugate[4] = {-q[0], -q[1], -q[2], q[3]};
        const float inverseLength = 1.0f / length;
        for (DocRotationKey& key : track.rotation_keys) {
            float r[4];
            quatMultiply(conjugate, key.value, r);
            for (float& component : r) {
                component *= inverseLength;
            }
            if (allFinite(r, 4)) {
                std::memcpy(key.value, r, sizeof r);
            } else {
                key.value[0] = key.value[1] = key.value[2] = 0.0f;
                key.value[3] = 1.0f;
            }
        }
    }
    // Q of length 0 inverts to the identity: the rotation keys stay.

    for (DocScaleKey& key : track.scale_keys) {
        float s[3];
        for (int c = 0; c < 3; ++c) {
            s[c] = bone.scale[c] != 0.0f ? key.value[c] / bone.scale[c] : key.value[c];
        }
        if (allFinite(s, 3)) {
            std::memcpy(key.value, s, sizeof s);
        } else {
            key.value[0] = key.value[1] = key.value[2] = 1.0f;
        }
    }
}

} // namespace

void captureTrackKeys(DocAnimation& animation) {
    std::vector<DocTrack>& tracks = animation.tracks;
    const std::size_t count = tracks.size();
    // Every local matrix is repaired before any track reads its parent's.
    for (DocTrack& track : tracks) {
        makeAffineFinite(track.local_matrix);
        setIdentity4x4(track.global_matrix);
    }
    for (std::size_t i = 0; i < count; ++i) {
        DocTrack& track = tracks[i];
        const std::int32_t parent = validParent(track.parent, i, count);
        const float* parentLocal =
            parent >= 0 ? tracks[static_cast<std::size_t>(parent)].local_matrix : nullptr;
        relativeMatrix(parentLocal, track.local_matrix, track.global_matrix);
    }
    for (DocTrack& track : tracks) {
        const FiniteParts parts = decomposeFinite(track.global_matrix);
        if (!allFinite(track.global_matrix, 16)) {
            composeParts(parts, track.global_matrix);
        }
        const float time = std::isfinite(track.sample_time) ? track.sample_time : 0.0f;
        // A failed append leaves that key out; the others still go in.
        addPositionKey(track, time, parts.position);
        addRotationKey(track, time, parts.rotation);
        addScaleKey(track, time, parts.scale);
    }
}

void keysRelativeToRest(const SceneDoc& doc, DocAnimation& animation) {
    const std::size_t count = animation.tracks.size();
    if (count == 0 || count != doc.bones.size()) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        trackRelativeToRest(doc.bones[i], animation.tracks[i]);
    }
}

void setAnimationFrameRange(SceneDoc& doc) {
    for (DocAnimation& animation : doc.animations) {
        float tmin = FLT_MAX;
        float tmax = 0.0f;
        bool anyKey = false;
        // A non-finite time cannot be placed on the time line; it takes no
        // part in the range.
        forEachKeyTime(animation, [&](float time) {
            if (std::isfinite(time)) {
                anyKey = true;
                tmin = std::fmin(tmin, time);
                tmax = std::fmax(tmax, time);
            }
        });
        if (!anyKey) {
            tmin = 0.0f;
        }
        if (tmin < 0.0f) {
            for (DocTrack& track : animation.tracks) {
                shiftTimes(track.position_keys, tmin);
                shiftTimes(track.rotation_keys, tmin);
                shiftTimes(track.scale_keys, tmin);
            }
            tmax = 0.0f;
            forEachKeyTime(animation, [&](float time) {
                if (std::isfinite(time)) {
                    tmax = std::fmax(tmax, time);
                }
            });
            tmin = 0.0f;
        }
        float fps = animation.frames_per_second;
        if (!(fps > 0.0f) || !std::isfinite(fps)) {
            fps = 30.0f;
        }
        animation.frames_per_second = fps;
        animation.start_frame = std::fabs(tmin) * fps;
        animation.end_frame = std::fabs(tmax) * fps;
    }
}

} // namespace prepare
} // namespace yfx
