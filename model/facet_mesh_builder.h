// One host facet mesh from the Assimp meshes a node (or a figure) shows.
//
// - Vertices: the parts' vertices, already in the host's space; Assimp
//   vertices identical in position, UVs and skin weights become one host
//   vertex unless that would make a face name one vertex twice
//   (corner_weld.h). The host keeps UVs per corner.
// - UVs: the first two UV channels become UV sets 0 and 1, one UV value per
//   Assimp vertex, so a corner's UV index is its Assimp vertex's number.
// - Faces: triangles and quads as they are (a corner that repeats its
//   neighbour taken once); larger polygons split into triangles; points and
//   lines left out. Each part's faces use its material slot.
// What cannot be kept (third and later UV channels, vertex colours, own
// normals, morph targets, points and lines, faces naming missing vertices,
// faces that name one vertex at two corners) is said in the notes, per mesh.
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

// The model's faces a host mesh keeps, and the facets they became.
struct KeptFaces {
    int faces = 0;  // a face split into triangles counts once
    int facets = 0; // triangles and quads
    KeptFaces& operator+=(const KeptFaces& o) {
        faces += o.faces;
        facets += o.facets;
        return *this;
    }
};

struct BuiltGeometry {
    std::unique_ptr<DzFacetMesh> mesh;
    // Skin weights per host vertex, as MeshPart holds them (empty without).
    std::vector<std::uint32_t> weightStart;
    std::vector<VertexWeight> weights;
    int uvSets = 0;
    KeptFaces kept;
};

// `name` names the mesh in the notes.
BuiltGeometry buildFacetMesh(const std::vector<MeshPart>& parts, const std::string& name,
                             ModelNotes& notes);

} // namespace model
} // namespace yfx
