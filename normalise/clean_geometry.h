// Geometry clean-up after reading: vertices that no polygon uses and
// polygons that repeat a corner are removed.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// Removes the pool vertices that no corner of any polygon of any mesh names,
// keeping the others in order (each with its weights) and rewriting every
// corner's vertex index to the new positions. Corner indices outside the pool
// name no vertex and are left as they are. Needs vertices and meshes.
// Returns the number of vertices removed, or -1 when the new array cannot be
// allocated (the document is then unchanged).
std::int64_t removeUnreferencedVertices(SceneDoc& doc);

// Only when the document holds exactly one mesh: removes the polygons in which
// some vertex index occurs at two corners (indices outside the pool name no
// vertex and never count as a repeat). The mesh is replaced by a new default
// mesh "YFXMesh0" holding the remaining polygons in order; when none remains
// the mesh array is released. Returns the number of polygons removed, or -1
// when the new mesh cannot be allocated (the document is then unchanged).
std::int64_t removeRepeatedCornerPolygons(SceneDoc& doc);

// Both removals in order; when either removed anything, the document's face
// links and the link lists of every UV set are discarded, since their indices
// no longer hold. Returns 1 on success, 0 when the document lacks vertices or
// meshes or an allocation failed.
int cleanGeometry(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
