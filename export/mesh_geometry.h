// The geometry of one gathered mesh: vertex positions, polygons (triangles
// first, then quads) and the per-corner texture coordinates of UV layer 0
// (kept beside the polygons until UV expansion makes them a UV set).
// Every index a host facet gives is checked before it is used.
#pragma once

#include "document/scene_doc.h"

class DzFacetMesh;
class DzGeometry;
class DzVertexMesh;

namespace yfx {
namespace exporter {

// Mesh value = the vertex count of the shape's own geometry. Positions come
// from the cached (final, world-space) geometry when there is one, otherwise
// from the shape's geometry. Returns 0 when the vertices cannot be allocated.
int gatherMeshVertices(DocMesh& mesh, const DzGeometry& shapeGeometry, const DzVertexMesh* cached);

// One polygon per facet of `geometry`: all triangles (negative fourth vertex
// index) in facet order, then all quads. Each keeps the facet's material index
// and, per corner, its vertex index and, in UV layer 0, its UV index. A vertex
// index that names none of the mesh's gathered vertices becomes -1. The
// highest vertex index is the largest corner vertex index, kNoPolygonVertexIndex
// without polygons. The mesh's gathered corner UVs of layer 0 get one zero UV
// per corner. Returns 0 when the polygons or those UVs cannot be allocated.
int gatherMeshPolygons(DocMesh& mesh, const DzFacetMesh& geometry);

// Into the mesh's gathered corner UVs of layer 0 (one per corner, in polygon
// order, as gatherMeshPolygons sized them): the (u, 1 - v) of each corner's UV
// index, for polygons whose material names one of the mesh's surfaces. The
// map is the geometry's UV map when it is the cached geometry, otherwise its
// UV set of the surface's UV set index. Corners whose UV index lies outside
// the map, maps that are not two-component, and corners beyond the gathered
// UVs' size keep their UVs as they are.
void gatherMeshUVs(DocMesh& mesh, const DzFacetMesh& geometry, bool isCachedGeometry);

// Turns every polygon round: its corners (with their UV indices, gathered
// corner UVs and edge flags) in the opposite order. The gathered positions
// are world-space, so a mesh whose node mirrors it (a world transform of
// negative determinant) keeps its facets' order only at the cost of facing
// inwards; reversing the corners makes the faces point out again.
void reverseCornerOrder(DocMesh& mesh);

} // namespace exporter
} // namespace yfx
