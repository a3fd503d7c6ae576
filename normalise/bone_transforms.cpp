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

void computeLocal(DocBone& bone) {
    float rotation[16];
    quatToMatrix(bone.rotation, rotation);
    rotation[3] = bone.position[0];
    rotation[7] = bone.position[1];
    rotation[11] = bone.position[2];
    float scale[16];
    setIdentity4x4(scale);
    scale[0] = bone.scale[0];
    scale[5] = bone.scale[1];
    scale[10] = bone.scale[2];
    composeAffine(rotation, scale, bone.local_matrix);
}

} // namespace

void computeBoneTransforms(SceneDoc& doc) {
    std::vector<DocBone>& bones = doc.bones;
    const std::size_t count = bones.size();
    for (DocBone& bone : bones) {
        computeLocal(bone);
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
