// The selection-group table: for each document group, its bounds and the
// bone whose faces it holds, filled before any host object exists.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace importer {

// Zeroes each group build's bounds, then widens them over the corner
// vertices of every polygon of every mesh that names the group: minimum,
// maximum, centre, size and radius (the largest distance of such a vertex
// from the centre). A group with no such vertex keeps zero bounds. Returns 0
// when groups, meshes or vertices are missing, else 1.
int measureGroups(SceneDoc& doc);

// One group build per group, named after it with its group value, measured,
// and given the name of the bone whose head-to-tail segment is nearest to
// the group's centre (the lowest index among equally near bones; a bone with
// a non-finite head or tail is never taken, and bone 0 is taken when no bone
// has a finite distance to the centre). Without bones every group build
// keeps an empty bone name. Returns 0, and leaves no group builds, when the
// document has no groups; else 1.
int assignGroupBones(SceneDoc& doc);

} // namespace importer
} // namespace yfx
