// One host facet mesh from the Assimp meshes a node (or a figure) shows.
//
// - Vertices: the parts' vertices, already in the host's space; vertices at
//   the same position with the same skin weights become one host vertex
//   (Assimp keeps a vertex per UV seam and often per corner; the host shares
//   vertices and keeps UVs per corner).
// - UVs: the first two UV channels become UV sets 0 and 1, one UV value per
//   Assimp vertex, so a corner's UV index is its Assimp vertex's number.
// - Faces: triangles and quads as they are; larger polygons split into
//   triangles; points and lines left out. Each part's faces use its material
//   slot.
// What cannot be kept (third and later UV channels, vertex colours, own
// normals, morph targets, points and lines, faces naming missing vertices)
// is said in the notes, per mesh.
#pragma once

#include "model/model_notes.h"
#include "model/space_math.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <dzfacetmesh.h>

struct aiMesh;

namespace yfx {
namespace model {

struct VertexWeight {
    int bone;     // the figure's bone slot
    float weight; // as the model gives it
};

struct MeshPart {
    const aiMesh* mesh = nullptr;
    int materialSlot = 0;
    std::vector<Vec3> positions; // host space, one per Assimp vertex
    // Skin weights per Assimp vertex, sorted by bone with no bone twice:
    // vertex v has weights[weightStart[v] .. weightStart[v + 1]). Empty when
    // the part has none.
    std::vector<std::uint32_t> weightStart;
    std::vector<VertexWeight> weights;
};

struct BuiltGeometry {
    std::unique_ptr<DzFacetMesh> mesh;
    // Skin weights per host vertex, as MeshPart holds them (empty without).
    std::vector<std::uint32_t> weightStart;
    std::vector<VertexWeight> weights;
    int uvSets = 0;
};

// `name` names the mesh in the notes.
BuiltGeometry buildFacetMesh(const std::vector<MeshPart>& parts, const std::string& name,
                             ModelNotes& notes);

} // namespace model
} // namespace yfx
