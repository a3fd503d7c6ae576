#include "render/skin_pose.h"

#include <cmath>
#include <cstring>

#include "document/doc_animation.h"
#include "normalise/bone_transforms.h"
#include "util/keyframe_sampling.h"
#include "util/matrix_math.h"

namespace yfx {
namespace render {

namespace {

struct Matrix {
    float m[16];
};

bool indexIn(std::int32_t index, std::size_t count) {
    return index >= 0 && std::size_t(index) < count;
}

// The bone's local matrix with its track's keys at `time` applied to the rest
// position, rotation and scale.
void posedLocal(const DocBone& bone, const DocAnimation& animation, std::int32_t track, float time,
                float out[16]) {
    float d[3], q[4], k[3];
    sampleTrackPosition(animation, track, time, d);
    sampleTrackRotation(animation, track, time, q);
    sampleTrackScale(animation, track, time, k);
    const float one[3] = {1, 1, 1};
    float rest[16];
    normalise::composeBoneLocal(bone.position, bone.rotation, one, rest);
    const float scale[3] = {bone.scale[0] * k[0], bone.scale[1] * k[1], bone.scale[2] * k[2]};
    float key[16];
    normalise::composeBoneLocal(d, q, scale, key);
    composeAffine(rest, key, out);
}

// Per bone: posed world times rest inverse world.
std::vector<Matrix> skinMatrices(const SceneDoc& doc, double frame) {
    const DocAnimation& animation = doc.animations[0];
    const float rate =
        std::isfinite(animation.frames_per_second) && animation.frames_per_second > 0.0f
            ? animation.frames_per_second
            : 30.0f;
    const float time = float(frame / double(rate));
    const std::size_t count = doc.bones.size();
    std::vector<Matrix> world(count);
    for (std::size_t i = 0; i < count; ++i) {
        const DocBone& bone = doc.bones[i];
        float local[16];
        const std::int32_t track = std::int32_t(i);
        if (i < animation.tracks.size() && trackHasKeys(animation.tracks[i])) {
            posedLocal(bone, animation, track, time, local);
        } else {
            std::memcpy(local, bone.local_matrix, sizeof local);
        }
        // As the load chains the rest pose: a later parent gives its
        // identity, a missing or self parent none.
        setIdentity4x4(world[i].m);
        if (bone.parent < 0) {
            std::memcpy(world[i].m, local, sizeof local);
        } else if (indexIn(bone.parent, count) && std::size_t(bone.parent) != i) {
            composeAffine(world[std::size_t(bone.parent)].m, local, world[i].m);
        }
    }
    std::vector<Matrix> skin(count);
    for (std::size_t i = 0; i < count; ++i) {
        composeAffine(world[i].m, doc.bones[i].inverse_world_matrix, skin[i].m);
    }
    return skin;
}

void transformPoint(const float m[16], const float p[3], double w, double out[3]) {
    for (int r = 0; r < 3; ++r) {
        out[r] += w * (double(m[4 * r]) * p[0] + double(m[4 * r + 1]) * p[1] +
                       double(m[4 * r + 2]) * p[2] + double(m[4 * r + 3]));
    }
}

} // namespace

void restPositions(const SceneDoc& doc, std::vector<float>& out) {
    out.resize(doc.vertices.size() * 3);
    for (std::size_t i = 0; i < doc.vertices.size(); ++i) {
        std::memcpy(&out[3 * i], doc.vertices[i].position, 3 * sizeof(float));
    }
}

void posedPositions(const SceneDoc& doc, double frame, std::vector<float>& out) {
    restPositions(doc, out);
    if (doc.animations.empty() || doc.bones.empty() || !std::isfinite(frame)) {
        return;
    }
    const std::vector<Matrix> skin = skinMatrices(doc, frame);
    for (std::size_t i = 0; i < doc.vertices.size(); ++i) {
        const DocVertex& vertex = doc.vertices[i];
        double sum[3] = {0, 0, 0};
        double total = 0.0;
        for (const DocWeight& weight : vertex.weights) {
            if (indexIn(weight.bone, skin.size()) && std::isfinite(weight.weight) &&
                weight.weight > 0.0f) {
                transformPoint(skin[std::size_t(weight.bone)].m, vertex.position,
                               double(weight.weight), sum);
                total += double(weight.weight);
            }
        }
        if (total > 0.0) {
            for (int k = 0; k < 3; ++k) {
                out[3 * i + std::size_t(k)] = float(sum[k] / total);
            }
        }
    }
}

} // namespace render
} // namespace yfx
