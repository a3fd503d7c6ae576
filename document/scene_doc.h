// The scene document: the plug-in's own in-memory model of a scene, filled by
// the exporter or the reader and consumed by the writers or the importer.
// Records are plain structs with their defaults; every array is a standard
// container whose size is its count. Indices between records are signed
// 32-bit positions in this document's arrays, -1 meaning none. An element's
// address stays valid only until the next append to, sized allocation of, or
// clearing of its array.
#pragma once

#include <cstdint>
#include <vector>

#include "document/doc_geometry.h"
#include "document/doc_material.h"
#include "document/doc_scene.h"
#include "document/doc_transform.h"

namespace yfx {

// Positions in SceneDoc::section_counts / section_offsets, in header order.
enum DocSection : int {
    kSectionLights = 0,
    kSectionCameras,
    kSectionMaterials,
    kSectionGroups,
    kSectionVertices,
    kSectionFaceLinks,
    kSectionUVSets,
    kSectionMeshes,
    kSectionBones,
    kSectionAnimations,
    kSectionInfoStrings,
    kSectionCount
};

struct SceneDoc {
    std::int32_t version = 0; // file version the document was read from; 0 for a new one
    std::vector<DocLight> lights;
    std::vector<DocCamera> cameras;
    std::vector<DocMaterial> materials;
    std::vector<DocGroup> groups;
    std::vector<DocVertex> vertices; // the global vertex pool
    std::vector<DocFaceLink> face_links;
    std::vector<DocUVSet> uvsets;
    std::int32_t legacy_uv_count = 0; // UV entries per UV set in files before version 30
    std::vector<DocMesh> meshes;
    std::uint32_t uv_section_position = 0; // noted by the reader
    std::vector<DocBone> bones;
    std::vector<DocAnimation> animations;
    std::vector<DocSurface> surfaces;
    std::vector<DocGroupBuild> group_builds;
    std::uint64_t reader_scratch = 0;
    // Section counts as read from a file header (kept for the reader's two
    // passes), and the byte offsets at which the reader found each section.
    std::int32_t section_counts[kSectionCount] = {};
    std::uint32_t section_offsets[kSectionCount] = {};
};

} // namespace yfx
