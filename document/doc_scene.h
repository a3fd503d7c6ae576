// Scene records of the document: lights, cameras, groups, bones, animations
// and the importer's per-group work records.
#pragma once

#include <cstdint>
#include <vector>

#include "document/doc_transform.h"
#include "platform/name_pair.h"

class DzNode; // host node; the document only carries the pointer, never follows it

namespace yfx {

enum DocLightKind : std::int32_t { kLightPoint = 0, kLightDistant = 1, kLightSpot = 2 };

constexpr std::int32_t kLightTag = 1600;

struct DocLight {
    std::int32_t tag = kLightTag;
    std::int32_t kind = kLightDistant; // DocLightKind
    DocTransform transform;
    float inner_angle = 10.0f;  // spot: spread angle minus 10, never below 0
    float spread_angle = 20.0f; // spot: degrees
    float value_a = 1.0f;
    float value_b = 1.0f;
    float intensity = 1.0f;
    float colour[4] = {1, 1, 1, 1}; // RGBA
    float range_a = 2.0f;
    float range_b = 8.0f;
    NamePair name;
};

struct DocCamera {
    std::int32_t reserved = 0;
    std::int32_t camera_word = 0;
    DocTransform transform;
    float parameters[3] = {45.0f, 1.0f, 1000.0f}; // carried from file to file unchanged
    NamePair name;
};

struct DocGroupMember {
    std::int32_t material = 0;      // material index
    std::int32_t polygon_count = 0; // polygons of the group that use that material
};

struct DocGroup {
    NamePair name;
    std::int32_t group_word = 0;
    std::int32_t parent = -1;
    DocTransform transform;
    std::int32_t group_value = 0;        // number of polygons that name this group
    std::vector<DocGroupMember> members; // the member count is members.size()
};

// Identity of the host's four-rows-of-three matrix: rows 0 to 2 the linear
// part, row 3 the translation.
constexpr float kHostIdentity[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};

struct DocBone {
    std::int32_t bone_word = 0;
    NamePair name;
    DzNode* host_node = nullptr; // the host node while exporting
    std::int32_t joint = 0;
    std::int32_t root = 0;
    std::int32_t skeleton = 0;
    std::int32_t mesh = -1;   // index of the node's DocMesh; -1 none
    std::int32_t parent = -1; // into SceneDoc::bones; negative = root
    float position[3] = {0, 0, 0};
    float scale[3] = {1, 1, 1};
    float rotation[4] = {0, 0, 0, 1}; // quaternion x, y, z, w
    float head[3] = {0, 0, 0};
    float tail[3] = {0, 0, 0};
    // The host matrix value as four rows of three floats (row 3 the translation).
    float host_matrix[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    float colour[4] = {1, 1, 1, 1};
    float local_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float world_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float inverse_world_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::int32_t weight_references = 0; // vertex weights that name this bone
    float length_to_parent = 0.0f;
};

struct DocPositionKey {
    float time = 0.0f; // seconds
    float value[3] = {0, 0, 0};
};

struct DocRotationKey {
    float time = 0.0f;
    float value[4] = {0, 0, 0, 1}; // quaternion x, y, z, w
};

struct DocScaleKey {
    float time = 0.0f;
    float value[3] = {1, 1, 1};
};

struct DocTrack {
    std::vector<DocPositionKey> position_keys;
    std::vector<DocRotationKey> rotation_keys;
    std::vector<DocScaleKey> scale_keys;
    std::int32_t parent = -1; // parent track (= parent bone); -1 root
    float global_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float local_matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float sample_time = 0.0f; // seconds of the frame being captured
};

struct DocAnimation {
    NamePair name; // "DefaultAnim" when created by the document operations
    std::int32_t animation_word = 0;
    float start_frame = 0.0f;
    float end_frame = 30.0f;
    float frames_per_second = 30.0f;
    std::vector<DocTrack> tracks; // one per bone, in bone order; the count is tracks.size()
};

// The importer's work record for one DocGroup.
struct DocGroupBuild {
    NamePair name;
    NamePair bone_name; // the bone the group's faces belong to
    float size[3] = {0, 0, 0};
    float radius = 0.0f;
    float minimum[3] = {0, 0, 0};
    float maximum[3] = {0, 0, 0};
    float centre[3] = {0, 0, 0};
    std::int32_t group_value = 0; // copied from the DocGroup
};

} // namespace yfx
