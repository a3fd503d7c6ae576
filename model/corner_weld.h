// Which Assimp vertices of a host mesh's parts become one host vertex, and
// which faces a host mesh can hold.
//
// A host polygon names each of its vertices once. Corners share a host
// vertex when Assimp gives them the same vertex, or when their vertices are
// identical in everything the host keeps of them (position, the UVs of every
// kept UV channel, skin weights) and no face then names one host vertex at
// two corners: a face whose distinct vertices would be joined keeps its own
// vertices, so joining never costs a face. Linear in vertices and corners
// (a face of more than four corners is checked by sorting its corners).
#pragma once

#include "model/facet_mesh_builder.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

struct aiFace;

namespace yfx {
namespace model {

enum class FaceCorners {
    Polygon,     // three or more distinct vertices
    PointOrLine, // fewer than three corners in the file
    Broken,      // names a vertex the mesh does not have
    Repeats,     // names one vertex at two corners that are not neighbours,
                 // or has fewer than three distinct corners once a corner
                 // repeated by its neighbour is taken once
};

// The face's corners as `corners` (Assimp vertex numbers): a corner that
// repeats the one before it (the last repeating the first included) is taken
// once, so a quad that names a vertex twice in a row is the triangle it
// draws. `vertices` is the mesh's vertex count. `scratch` is working space.
FaceCorners faceCorners(const aiFace& face, std::size_t vertices, std::vector<unsigned>& corners,
                        std::vector<unsigned>& scratch);

// The (u, v) the host stores for vertex v of `part` in UV channel k: (0, 0)
// without that channel, a value that is not finite as 0.
std::array<float, 2> hostUV(const MeshPart& part, int k, std::size_t v);

struct WeldedVertices {
    // Per part, the host vertex of each Assimp vertex.
    std::vector<std::vector<int>> hostOf;
    // Per host vertex: its position (a value that is not finite as 0) and
    // the part and Assimp vertex it is made from.
    std::vector<std::array<float, 3>> positions;
    std::vector<std::pair<int, int>> source;
};

// Host vertices for the parts, comparing the first `uvChannels` UV channels.
WeldedVertices weldCorners(const std::vector<MeshPart>& parts, int uvChannels);

} // namespace model
} // namespace yfx
