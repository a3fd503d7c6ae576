#include "prepare/bone_locals.h"

#include <cstring>

#include "document/doc_host_transform.h"
#include "prepare/affine_parts.h"

namespace yfx {
namespace prepare {

void computeBoneLocals(SceneDoc& doc) {
    std::vector<DocBone>& bones = doc.bones;
    const std::size_t count = bones.size();
    // Every world matrix first: a parent may follow its child in the array.
    for (DocBone& bone : bones) {
        hostToMatrix(bone.host_matrix, bone.world_matrix);
        makeAffineFinite(bone.world_matrix);
    }
    for (std::size_t i = 0; i < count; ++i) {
        DocBone& bone = bones[i];
        const std::int32_t parent = validParent(bone.parent, i, count);
        const float* parentWorld =
            parent >= 0 ? bones[static_cast<std::size_t>(parent)].world_matrix : nullptr;
        relativeMatrix(parentWorld, bone.world_matrix, bone.local_matrix);

        const FiniteParts parts = decomposeFinite(bone.local_matrix);
        std::memcpy(bone.position, parts.position, sizeof bone.position);
        std::memcpy(bone.rotation, parts.rotation, sizeof bone.rotation);
        std::memcpy(bone.scale, parts.scale, sizeof bone.scale);
        // An inverse that overflowed leaves infinities in the product; the
        // bone then keeps the matrix its repaired parts describe.
        if (!allFinite(bone.local_matrix, 16)) {
            composeParts(parts, bone.local_matrix);
        }
    }
}

} // namespace prepare
} // namespace yfx
