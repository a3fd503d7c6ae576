// The document's animation as host keys: every track baked to one key per
// frame, and the first animation's keys written frame by frame onto the
// bones' transform properties.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/scene_doc.h"
#include "import/mesh_build.h"

class DzBone;

namespace yfx {
namespace importer {

// The most samples (a position, a rotation and a scale key each) the bake of
// one import makes over every track of every animation. Key times, not the
// file's size, decide how many samples a track gets, so a small file could
// otherwise ask for gigabytes. A figure of 300 bones keyed on every frame of
// five minutes at 30 frames per second bakes 2.7 million samples; at 52
// bytes a sample the budget keeps the baked keys under 220 MB, and the host
// keys of the first animation (nine per sample) under 38 million.
constexpr std::uint64_t kBakeSampleBudget = std::uint64_t(1) << 22;

// What the bake of one animation did with its frames.
struct BakedFrames {
    // Frames 0 to frames - 1 of the animation's rate make up the whole bake
    // (0: the tracks were left without keys).
    std::int64_t frames = 0;
    // Every stride-th of those frames was sampled, and the last one too.
    std::int64_t stride = 1;
    // Samples each keyed track holds: frames when the stride is 1.
    std::int64_t kept = 0;
    // Tracks that had keys; only they take samples.
    std::size_t keyed_tracks = 0;
    // The bake was asked for but the budget could not hold even the first
    // and last frame of every keyed track, so every track is left empty.
    bool over_budget = false;

    bool thinned() const { return stride > 1; }
    // The frame (0 = the first) that sample k of a track stands for.
    std::int64_t frameOf(std::size_t k) const {
        const std::int64_t f = std::int64_t(k) * stride;
        return stride > 1 && f >= frames ? frames - 1 : f;
    }
};

// Resamples every keyed track of animation `a` at the frames of its own
// rate (framesPerSecond): frames 0 to ceil(latest key time x rate), both
// included (one frame when that is 0), frame f at time f / rate, so the
// latest key's pose is kept; and replaces each track's three key lists with
// them. A track without keys stays without keys and takes no samples. A
// frame count that is negative, not a number or above one day of frames
// leaves every track without keys. When the frames of every keyed track
// would take more than `budgetLeft` samples, the bake thins them evenly:
// every k-th frame with the smallest k that fits, the first and the last
// frame always kept; when not even those two fit, every track is left
// without keys (over_budget). The samples taken come off `budgetLeft`.
// `baked`, when given, says what was done. Returns 0 when a is out of
// range, else 1.
int bakeAnimation(SceneDoc& doc, std::int32_t a, std::uint64_t& budgetLeft,
                  BakedFrames* baked = nullptr);
// The same with a budget of kBakeSampleBudget for this animation alone.
int bakeAnimation(SceneDoc& doc, std::int32_t a);

// Writes track b of the first animation, as baked (`baked`), onto the bone:
// key k lands on frame (start of the scene's animation range) +
// baked.frameOf(k), setting X, Y, Z position, X, Y, Z scale and X, Y, Z
// rotation (degrees of the key's Euler angles). The file keys a position
// relative to the bone's rest, along the bone's rest axes; the host moves a
// bone along its parent's axes, which at rest are the scene's (a host bone at
// rest is not turned), so each position key is carried there by the bone's
// rest world rotation and scale (its parent's world times its own rest
// rotation) before it is set. A missing rotation or scale
// key counts as none. A bone without a track gets no keys; keys that would
// land beyond the host's time range are dropped. Returns 0 when the bone,
// the frame or the animation is missing, else 1.
int keyBone(const SceneDoc& doc, const BoneFrames& frames, const BakedFrames& baked, DzBone* bone,
            std::int32_t b);

} // namespace importer
} // namespace yfx
