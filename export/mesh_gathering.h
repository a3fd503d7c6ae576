// The mesh handler of the object walk: a node whose object's current shape
// has facet-mesh geometry becomes a DocMesh with its surfaces, vertices,
// polygons, texture coordinates and skin weights.
#pragma once

#include "export/gather_context.h"

class DzNode;

namespace yfx {
namespace exporter {

// Appends the node's DocMesh and files its index in the node's DocBone (the
// one at session.node_counter). The node is finalised first, so positions
// are the final, world-space ones at the scene's current time. Polygons and
// UVs come from the cached geometry when export_high_resmesh is on or a
// material uses a UV set other than the first, otherwise from the shape's
// geometry. Returns 1 when done or when the node has no facet mesh, 0 when a
// step failed (the mesh keeps what it got until then).
int gatherMesh(ExportSession& session, DzNode& node, const BoneIndexOfNode& bones);

} // namespace exporter
} // namespace yfx
