#include "normalise/bone_transforms.h"

#include <cmath>
#include <cstring>

#include "normalise/index_checks.h"
#include "util/matrix_math.h"

namespace yfx {
namespace normalise {

namespace {

void copyMatrix(const float from[16], float to[16]) {
    std::memcpy(to, from, 16 * sizeof(float));
}

void translationOf(const float m[16], float out[3]) {
    out[0] = m[3];
    out[1] = m[7];
    out[2] = m[11];
}

} // namespace

void composeBoneLocal(const float position[3], const float rotation[4], const float scale[3],
                      float out[16]) {
    float turn[16];
    quatToMatrix(rotation, turn);
    turn[3] = position[0];
    turn[7] = position[1];
    turn[11] = position[2];
    float stretch[16];
    setIdentity4x4(stretch);
    stretch[0] = scale[0];
    stretch[5] = scale[1];
    stretch[10] = scale[2];
    composeAffine(turn, stretch, out);
}

void computeBoneTransforms(SceneDoc& doc) {
    std::vector<DocBone>& bones = doc.bones;
    const std::size_t count = bones.size();
    for (DocBone& bone : bones) {
        composeBoneLocal(bone.position, bone.rotation, bone.scale, bone.local_matrix);
        setIdentity4x4(bone.world_matrix);
    }
    for (std::size_t i = 0; i < count; ++i) {
        DocBone& bone = bones[i];
        const std::int32_t parent = bone.parent;
        if (parent < 0) {
            copyMatrix(bone.local_matrix, bone.world_matrix);
        } else if (indexIn(parent, count) && static_cast<std::size_t>(parent) != i) {
            float world[16];
            composeAffine(bones[static_cast<std::size_t>(parent)].world_matrix, bone.local_matrix,
                          world);
            copyMatrix(world, bone.world_matrix);
        }
        // A bone that is its own parent or names no bone keeps the identity.
    }
    for (DocBone& bone : bones) {
        invert4x4(bone.world_matrix, bone.inverse_world_matrix);
    }
    for (std::size_t i = 0; i < count; ++i) {
        DocBone& bone = bones[i];
        bone.length_to_parent = 0.0f;
        if (indexIn(bone.parent, count)) {
            float own[3];
            float other[3];
            translationOf(bone.world_matrix, own);
            translationOf(bones[static_cast<std::size_t>(bone.parent)].world_matrix, other);
            const float dx = own[0] - other[0];
            const float dy = own[1] - other[1];
            const float dz = own[2] - other[2];
            bone.length_to_parent = std::sqrt(dx * dx + dy * dy + dz * dz);
        }
    }
    for (DocBone& bone : bones) {
        translationOf(bone.world_matrix, bone.head);
        translationOf(bone.world_matrix, bone.tail);
    }
    for (DocBone& bone : bones) {
        if (indexIn(bone.parent, count)) {
            std::memcpy(bones[static_cast<std::size_t>(bone.parent)].tail, bone.head,
                        sizeof bone.head);
        }
    }
}

} // namespace normalise
} // namespace yfx
