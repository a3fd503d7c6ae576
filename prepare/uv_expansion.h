// UV expansion and tile collapse over the per-mesh UV sets of a gathered
// document: after expansion every UV set of a mesh holds one UV per polygon
// corner, in polygon order, and corner c of polygon p uses UV
// (corners of the polygons before p) + c.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// Gives every mesh without UV sets two empty ones, then expands every set of
// every mesh from the UVs gathered per corner (expandUVSet(mesh, k, 1)). Every
// mesh's gathered corner UVs are freed, also where a set could not take them.
void expandMeshUVs(SceneDoc& doc);

// Rewrites UV set k of the mesh as one UV per corner. With fromCorners = 1 new
// UV n is the mesh's gathered corner UV n of layer k (zero where there is
// none), and the gathered corner UVs of layer k are freed afterwards; with any
// other value it is the set's own UV the corner's index names (an index
// outside the set names UV 0), and a set without UVs is left alone (result
// 1). Result 0, nothing changed, when k is not a set of the mesh or has no
// polygon layer (k above 1), the mesh has no vertices of its own, no corners
// or more than a 32-bit index counts, or the new array cannot be allocated.
int expandUVSet(DocMesh& mesh, std::int32_t k, int fromCorners);

// Moves the UVs of each surface (material index) of each mesh left along u by
// the whole number of tiles that brings the centre of their u range into
// [0, 1); a centre below 1 or not finite moves nothing, v never changes. Surfaces are taken
// in increasing order, each on the values the earlier ones left; a UV that
// several corners of one surface name moves once for it. Sets are expanded
// from their own UVs first. Corners whose material or UV index is outside the
// mesh's surfaces or the set are ignored. Flag bit kUVTileMark ends set on the
// UVs of the mesh's last surface and clear on every other UV of a set that has
// UVs; a mesh without surfaces keeps its flags. One pass per set, linear in
// corners, UVs and surfaces.
//
// A surface is moved by one whole-tile shift, so a surface whose UVs spread
// over more than one tile keeps part of them outside [0, 1) after its move:
// each such surface that moved is reported, with its u range before the move.
struct SpannedTiles {
    std::wstring mesh;    // the mesh's name
    std::wstring surface; // the surface's name
    std::int32_t set = 0; // the UV set
    float min_u = 0.0f;   // before the move
    float max_u = 0.0f;
    float shift = 0.0f; // whole tiles moved left
};
std::vector<SpannedTiles> collapseUVTiles(SceneDoc& doc);

constexpr std::int32_t kUVTileMark = 4;

} // namespace prepare
} // namespace yfx
