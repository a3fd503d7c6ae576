// Triangulation of polygons with five or more corners, and the use counts of
// groups and materials that go with it.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// Corners of the triangle `k` (0 .. n-3) of the strip that splits a polygon of
// n >= 5 corners: taken alternately from both ends, so that a pentagon gives
// (4,0,3), (0,1,3), (3,1,2). A triangle (n = 3) gives (0,1,2).
void stripTriangle(std::int32_t n, std::int32_t k, std::int32_t out[3]);

// Adds 1 to a group's group value and a material's face count for every
// polygon naming it; indices outside the arrays are skipped. Values are added
// to what the records hold.
void addGroupAndMaterialUse(SceneDoc& doc);

// Releases every group's member list, zeroes group values and material face
// counts, splits every polygon of five or more corners into a strip of
// triangles and counts the group and material uses again. A mesh with such a
// polygon gets a new list: first the triangles (from its 3-corner polygons
// and the split ones, in their order), then its 4-corner polygons unchanged;
// polygons of fewer than three corners are dropped. The mesh keeps its name
// and nothing else. Needs meshes and vertices. Returns 1 on success, 0 when
// they are missing or a mesh's new list cannot be allocated (that mesh is
// then left as it was; the other meshes are still processed).
int triangulateMeshes(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
