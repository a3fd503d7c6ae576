// From per-mesh vertices to the document's single vertex pool and one mesh.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// Removes from each mesh the vertices no polygon corner of that mesh names,
// keeping the others in order (each with its weights) and renumbering the
// corners. A mesh none of whose vertices is used loses them all. The
// kVertexUnusedMark bit is the scratch mark: it ends clear on every kept
// vertex. A corner naming no vertex of its mesh is not counted as a use and
// becomes -1 when the mesh is renumbered. Returns the number of vertices
// removed.
std::int64_t compactMeshVertices(SceneDoc& doc);

// Moves every mesh's vertices into the document's pool (position, normal,
// colour and the weights' bones and weights; corner vertex indices offset
// accordingly), adds one group per mesh named after it (every polygon's group
// and word 2 = that group's index, which is the mesh's index in a document
// without groups) and, when there are two meshes or more, merges all meshes
// into one named "YFXMesh0" with their polygons moved over in order, their
// colours and both UV sets concatenated and the corners' indices offset. A
// corner's vertex, colour or UV index that names nothing in its own mesh
// becomes -1 rather than being offset onto another mesh's element.
void buildVertexPool(SceneDoc& doc);

} // namespace prepare
} // namespace yfx
