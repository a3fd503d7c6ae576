// The importer's build meshes: the document's polygons regrouped into one
// ImportMesh per DocGroup, each with its own vertex list (the distinct pool
// vertices its faces use, numbered in order of first use) and its faces with
// their corners renumbered into that list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/scene_doc.h"
#include "platform/name_pair.h"

namespace yfx {
namespace importer {

struct ImportVertex {
    std::int64_t source_index = 0; // the pool vertex it came from
    float position[3] = {0, 0, 0};
    float normal[3] = {0, 0, 0};
    float colour[4] = {1, 1, 1, 1};
};

// One polygon of the group. Its corners are the entries first_corner ..
// first_corner + corner_count - 1 of the mesh's corner lists.
struct ImportFace {
    std::int32_t polygon_index = 0; // within its document mesh
    std::int32_t face_group = -1;   // the polygon's word 2
    std::int32_t corner_count = 0;
    std::int32_t material = -1; // the polygon's material index
    std::size_t first_corner = 0;
};

struct ImportMesh {
    NamePair name; // the group's name, or the file's base name (see giveBaseName)
    std::vector<ImportVertex> vertices;
    std::vector<ImportFace> faces;
    std::vector<std::int32_t> corner_vertices; // per corner: index into vertices
    std::vector<std::int32_t> corner_uvs;      // per corner: UV index of the first UV layer
};

// Where each pool vertex went in the mesh being built: a table over the
// whole pool, reset for the next mesh by a new stamp instead of a sweep, so
// that building every group costs one table plus the corners.
class VertexBuckets {
public:
    explicit VertexBuckets(std::size_t poolSize) : index_(poolSize, -1), stamp_(poolSize, 0) {}
    // Forgets the vertices of the previous mesh.
    void startMesh() { ++current_; }

private:
    friend std::int32_t addUniqueVertex(VertexBuckets&, std::vector<ImportVertex>&, std::int64_t,
                                        const ImportVertex&);
    std::vector<std::int32_t> index_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t current_ = 1;
};

// The index in `vertices` of the vertex that came from `sourceIndex`,
// appending `vertex` when the mesh has none yet. Every corner that names one
// pool vertex gets the same mesh vertex (two pool vertices at one position
// stay two). The record says the same pool vertex at positions within 0.0001
// is one vertex; positions copied from one record always are, except NaN and
// infinite ones, which must not make a new vertex at every corner.
std::int32_t addUniqueVertex(VertexBuckets& buckets, std::vector<ImportVertex>& vertices,
                             std::int64_t sourceIndex, const ImportVertex& vertex);

// One ImportMesh per DocGroup, named after it, holding the polygons whose
// group index names it, in polygon order. A polygon with a corner outside
// the vertex pool, or without corners, gets no face; a polygon whose group
// index names no group is in no mesh.
std::vector<ImportMesh> buildImportMeshes(const SceneDoc& doc);

} // namespace importer
} // namespace yfx
