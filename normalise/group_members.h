// Member lists of the groups: which materials a group's polygons use.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// Rebuilds every group's member list from the mesh whose index equals the
// group's index (not from the polygons' group indices): one member per
// material that some polygon of that mesh names, in ascending material
// index, holding the material index and the number of those polygons. A group
// without such a mesh, or whose mesh names no material, gets an empty list.
// Needs meshes, groups and materials. Returns 1 on success, 0 when they are
// missing or a list cannot be allocated (that group is left with an empty
// list; the others are still built).
int buildGroupMembers(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
