// The document's animation as host keys: every track baked to one key per
// frame, and the first animation's keys written frame by frame onto the
// bones' transform properties.
#pragma once

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

// Resamples every track of animation `a` at the frames of its own rate
// (framesPerSecond): frames 0 to ceil(latest key time x rate), both
// included (one sample when that is 0), sample s at time s / rate, so the
// latest key's pose is kept; and replaces each track's three key
// lists with them. A sample count that is negative, not a number or above
// one day of frames, or samples over all tracks (n x track count) above
// `budgetLeft`, leave every track without keys; otherwise the samples are
// taken from `budgetLeft`. Returns 0 when a is out of range, else 1.
int bakeAnimation(SceneDoc& doc, std::int32_t a, std::uint64_t& budgetLeft);
// The same with a budget of kBakeSampleBudget for this animation alone.
int bakeAnimation(SceneDoc& doc, std::int32_t a);

// Writes track b of the first animation onto the bone: key k lands on frame
// (start of the scene's animation range) + k, setting X, Y, Z position, X, Y,
// Z scale and X, Y, Z rotation (degrees of the key's Euler angles). A missing
// rotation or scale key counts as none. A bone without a track gets no keys;
// keys that would land beyond the host's time range are dropped. Returns 0
// when the bone, the frame or the animation is missing, else 1.
int keyBone(const SceneDoc& doc, const BoneFrames& frames, DzBone* bone, std::int32_t b);

} // namespace importer
} // namespace yfx
