#include "import/animation_keys.h"

#include "document/doc_animation.h"
#include "import/host_numbers.h"
#include "normalise/index_checks.h"
#include "util/keyframe_sampling.h"
#include "util/matrix_math.h"

#include <dzbone.h>
#include <dzfloatproperty.h>
#include <dzscene.h>

#include <cmath>
#include <limits>

namespace yfx {
namespace importer {

namespace {

using normalise::indexIn;

constexpr double kSecondsPerDay = 24.0 * 60.0 * 60.0;
constexpr float kDegreesPerRadian = 57.29578f;
constexpr double kOnFrameTolerance = 1e-3;

// The number of samples, or -1 when the tracks are to stay empty.
std::int64_t sampleCount(const DocAnimation& animation, float fps) {
    float start = 0.0f, end = 0.0f;
    animationTimeRange(animation, start, end);
    // Frames 0 to the first frame at or after the latest key, both ends
    // included, so that the last key's pose is baked too. A key within a
    // thousandth of a frame of a frame time counts as on it (float times).
    const double last = std::ceil(double(end) * double(fps) - kOnFrameTolerance);
    if (!std::isfinite(last) || last < 0.0 || last > kSecondsPerDay * double(fps) ||
        last >= double(std::numeric_limits<std::int32_t>::max())) {
        return -1;
    }
    return last <= 0.0 ? 1 : std::int64_t(last) + 1;
}

// How many of frames 0 .. frames - 1 a stride keeps: 0, k, 2k, ... and the last.
std::int64_t keptFrames(std::int64_t frames, std::int64_t stride) {
    const std::int64_t last = frames - 1;
    return last / stride + 1 + (last % stride != 0 ? 1 : 0);
}

// The smallest stride whose samples over `keyed` tracks fit `budget`, with
// plan.frames set; over_budget when not even the first and last frame fit.
void planFrames(std::int64_t frames, std::size_t keyed, std::uint64_t budget, BakedFrames& plan) {
    plan.frames = frames;
    plan.keyed_tracks = keyed;
    plan.stride = 1;
    plan.kept = frames;
    if (keyed == 0 || std::uint64_t(frames) * keyed <= budget) {
        return; // frames is below 2^31 and no document holds 2^32 tracks
    }
    const std::uint64_t perTrack = budget / keyed;
    if (perTrack < 2) {
        plan.over_budget = true;
        plan.frames = 0;
        plan.kept = 0;
        return;
    }
    // The frames - 1 intervals in at most perTrack - 1 strides: any smaller
    // stride leaves at least perTrack frames before the last one.
    const std::int64_t steps = std::int64_t(perTrack) - 1;
    const std::int64_t stride = (frames - 1 + steps - 1) / steps;
    plan.stride = stride;
    plan.kept = keptFrames(frames, stride);
}

void bakeTrack(const DocAnimation& animation, std::int32_t j, const BakedFrames& plan, float dt,
               DocTrack& baked) {
    TrackSampler sampler(animation, j);
    const std::size_t n = std::size_t(plan.kept);
    baked.position_keys.resize(n);
    baked.rotation_keys.resize(n);
    baked.scale_keys.resize(n);
    for (std::size_t at = 0; at < n; ++at) {
        const float t = float(plan.frameOf(at)) * dt;
        baked.position_keys[at].time = t;
        baked.rotation_keys[at].time = t;
        baked.scale_keys[at].time = t;
        sampler.position(t, baked.position_keys[at].value);
        sampler.rotation(t, baked.rotation_keys[at].value);
        sampler.scale(t, baked.scale_keys[at].value);
    }
}

void setAt(DzFloatProperty* property, DzTime time, float value) {
    if (property != nullptr) {
        property->setValue(time, value);
    }
}

} // namespace

int bakeAnimation(SceneDoc& doc, std::int32_t a, std::uint64_t& budgetLeft, BakedFrames* baked) {
    if (!indexIn(a, doc.animations.size())) {
        return 0;
    }
    DocAnimation& animation = doc.animations[std::size_t(a)];
    const float fps = framesPerSecond(animation.frames_per_second);
    const float dt = 1.0f / fps;
    std::size_t keyed = 0;
    for (const DocTrack& track : animation.tracks) {
        keyed += trackHasKeys(track) ? 1 : 0;
    }
    BakedFrames plan;
    const std::int64_t n = sampleCount(animation, fps);
    if (n > 0) {
        planFrames(n, keyed, budgetLeft, plan);
        budgetLeft -= std::uint64_t(plan.kept) * keyed;
    }
    // The samples of every track are taken before any track is replaced:
    // each sampler reads its own track only, but the lists are swapped in
    // afterwards so that a failed allocation leaves the tracks as they were.
    std::vector<DocTrack> samples(animation.tracks.size());
    if (plan.kept > 0) {
        for (std::size_t j = 0; j < samples.size(); ++j) {
            if (trackHasKeys(animation.tracks[j])) {
                bakeTrack(animation, std::int32_t(j), plan, dt, samples[j]);
            }
        }
    }
    for (std::size_t j = 0; j < samples.size(); ++j) {
        DocTrack& track = animation.tracks[j];
        track.position_keys.swap(samples[j].position_keys);
        track.rotation_keys.swap(samples[j].rotation_keys);
        track.scale_keys.swap(samples[j].scale_keys);
    }
    if (baked != nullptr) {
        *baked = plan;
    }
    return 1;
}

int bakeAnimation(SceneDoc& doc, std::int32_t a) {
    std::uint64_t budget = kBakeSampleBudget;
    return bakeAnimation(doc, a, budget);
}

int keyBone(const SceneDoc& doc, const BoneFrames& frames, const BakedFrames& baked, DzBone* bone,
            std::int32_t b) {
    if (bone == nullptr || dzScene == nullptr || !indexIn(b, frames.size()) || doc.bones.empty() ||
        doc.animations.empty()) {
        return 0;
    }
    const DocAnimation& animation = doc.animations[0];
    if (!indexIn(b, animation.tracks.size())) {
        return 1;
    }
    const DocTrack& track = animation.tracks[std::size_t(b)];
    // From the bone's rest axes to the scene's: parent world * rest rotation.
    const BoneFrame& frame = frames.frames[std::size_t(b)];
    float rest[16], identity[16], toScene[16];
    quatToMatrix(frame.rotation, rest);
    setIdentity4x4(identity);
    multiply4x4(indexIn(frame.parent, frames.size())
                    ? frames.frames[std::size_t(frame.parent)].world
                    : identity,
                rest, toScene);
    const long long step = dzScene->getTimeStep() != 0 ? dzScene->getTimeStep() : 1;
    const long long startFrame = dzScene->getAnimRange().getStart() / step;
    for (std::size_t k = 0; k < track.position_keys.size(); ++k) {
        // Both factors are below 2^31 (frames and the host's time step).
        const long long time = (startFrame + baked.frameOf(k)) * step;
        if (time > std::numeric_limits<DzTime>::max() ||
            time < std::numeric_limits<DzTime>::min()) {
            break;
        }
        const DzTime tm = DzTime(time);
        const float* d = track.position_keys[k].value;
        float position[3];
        for (int r = 0; r < 3; ++r) {
            position[r] =
                toScene[4 * r] * d[0] + toScene[4 * r + 1] * d[1] + toScene[4 * r + 2] * d[2];
        }
        static const float kNoRotation[4] = {0, 0, 0, 1};
        static const float kNoScale[3] = {1, 1, 1};
        const float* rotation =
            k < track.rotation_keys.size() ? track.rotation_keys[k].value : kNoRotation;
        const float* scale = k < track.scale_keys.size() ? track.scale_keys[k].value : kNoScale;
        float euler[3];
        quatToEuler(rotation, euler);
        setAt(bone->getXPosControl(), tm, position[0]);
        setAt(bone->getYPosControl(), tm, position[1]);
        setAt(bone->getZPosControl(), tm, position[2]);
        setAt(bone->getXScaleControl(), tm, scale[0]);
        setAt(bone->getYScaleControl(), tm, scale[1]);
        setAt(bone->getZScaleControl(), tm, scale[2]);
        setAt(bone->getXRotControl(), tm, euler[0] * kDegreesPerRadian);
        setAt(bone->getYRotControl(), tm, euler[1] * kDegreesPerRadian);
        setAt(bone->getZRotControl(), tm, euler[2] * kDegreesPerRadian);
    }
    return 1;
}

} // namespace importer
} // namespace yfx
