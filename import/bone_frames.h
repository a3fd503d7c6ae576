// The importer's frame of each document bone: its matrices, end point and
// the host bone made for it, and the bones' children in index order. Built at
// the start of each mesh path and gone at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/scene_doc.h"
#include "platform/name_pair.h"

class DzBone;

namespace yfx {
namespace importer {

struct BoneFrame {
    // Parent index; -1 when the document's index is negative, names the bone
    // itself or lies at or beyond the bone count (no parent).
    std::int32_t parent = -1;
    float local[16] = {};
    float world[16] = {};
    float inverse_world[16] = {};
    float position[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    float rotation[4] = {0, 0, 0, 1};
    float saved_local[16] = {};
    NamePair name;
    std::int32_t has_children = 0;
    float child_position[3] = {0, 0, 0}; // position of the last child, else its own
    float end_point[3] = {0, 0, 0};      // world translation of the last child, else its own
    std::int32_t influence_count = 0;    // the bone's weight references
    DzBone* host_bone = nullptr;         // made by createBone; the scene owns it
};

struct BoneFrames {
    std::vector<BoneFrame> frames;
    // Children of bone b: children[first_child[b] .. first_child[b + 1] - 1],
    // in index order.
    std::vector<std::size_t> first_child;
    std::vector<std::int32_t> children;

    bool empty() const { return frames.empty(); }
    std::size_t size() const { return frames.size(); }
};

// One frame per document bone. local = rotation with the position as
// translation, times the scale; world = parent's world times local, in index
// order (a parent that comes later contributes the identity it still has);
// the end point is the world translation of the bone's last child.
BoneFrames buildBoneFrames(const SceneDoc& doc);

} // namespace importer
} // namespace yfx
