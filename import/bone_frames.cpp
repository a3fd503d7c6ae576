#include "import/bone_frames.h"

#include "normalise/bone_transforms.h"
#include "normalise/index_checks.h"
#include "util/matrix_math.h"

#include <algorithm>

namespace yfx {
namespace importer {

namespace {

void translationOf(const float m[16], float out[3]) {
    out[0] = m[3];
    out[1] = m[7];
    out[2] = m[11];
}

void fillChildren(BoneFrames& out) {
    const std::size_t count = out.frames.size();
    out.first_child.assign(count + 1, 0);
    for (const BoneFrame& frame : out.frames) {
        if (frame.parent >= 0) {
            ++out.first_child[std::size_t(frame.parent) + 1];
        }
    }
    for (std::size_t b = 0; b < count; ++b) {
        out.first_child[b + 1] += out.first_child[b];
    }
    out.children.assign(out.first_child[count], 0);
    std::vector<std::size_t> next(out.first_child.begin(), out.first_child.end() - 1);
    for (std::size_t b = 0; b < count; ++b) {
        const std::int32_t parent = out.frames[b].parent;
        if (parent >= 0) {
            out.children[next[std::size_t(parent)]++] = std::int32_t(b);
        }
    }
}

} // namespace

BoneFrames buildBoneFrames(const SceneDoc& doc) {
    BoneFrames out;
    const std::size_t count = doc.bones.size();
    out.frames.resize(count);
    for (std::size_t b = 0; b < count; ++b) {
        const DocBone& bone = doc.bones[b];
        BoneFrame& frame = out.frames[b];
        frame.name = bone.name;
        const bool ownParent = bone.parent == std::int32_t(b);
        frame.parent = normalise::indexIn(bone.parent, count) && !ownParent ? bone.parent : -1;
        std::copy(bone.position, bone.position + 3, frame.position);
        std::copy(bone.scale, bone.scale + 3, frame.scale);
        std::copy(bone.rotation, bone.rotation + 4, frame.rotation);
        frame.influence_count = bone.weight_references;

        normalise::composeBoneLocal(frame.position, frame.rotation, frame.scale, frame.local);
        std::copy(frame.local, frame.local + 16, frame.saved_local);
        setIdentity4x4(frame.world);
        setIdentity4x4(frame.inverse_world);
    }
    for (BoneFrame& frame : out.frames) {
        if (frame.parent >= 0) {
            const float* parentWorld = out.frames[std::size_t(frame.parent)].world;
            composeAffine(parentWorld, frame.local, frame.world);
        } else {
            std::copy(frame.local, frame.local + 16, frame.world);
        }
    }
    for (BoneFrame& frame : out.frames) {
        invert4x4(frame.world, frame.inverse_world);
        std::copy(frame.position, frame.position + 3, frame.child_position);
        translationOf(frame.world, frame.end_point);
    }
    for (const BoneFrame& frame : out.frames) {
        if (frame.parent >= 0) {
            BoneFrame& parent = out.frames[std::size_t(frame.parent)];
            parent.has_children = 1;
            std::copy(frame.position, frame.position + 3, parent.child_position);
            translationOf(frame.world, parent.end_point);
        }
    }
    fillChildren(out);
    return out;
}

} // namespace importer
} // namespace yfx
