// Host surfaces of a gathered document: merging inside a mesh by texture, and
// collecting every mesh's surfaces into the document's list.
#pragma once

#include <cstdint>
#include <vector>

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// Index of the first surface of the list that s merges with, or -1. With both
// a colour and an opacity path s matches a surface with the same two paths;
// with one of them, a surface with the same path of that kind. Paths compare
// ignoring ASCII letter case. A surface with neither path matches nothing.
std::int32_t findMeshSurface(const std::vector<DocSurface>& list, const DocSurface& s);

// The index of the surface s merges with, or of a copy of s named name
// (s's own name when name is null) appended to the list; -1 when it cannot
// be appended.
std::int32_t findOrAddMeshSurface(std::vector<DocSurface>& list, const wchar_t* name,
                                  const DocSurface& s);

// Inside each mesh with more than one surface, surfaces with the same colour
// and opacity textures become one, exactly as findOrAddMeshSurface over the
// surfaces in order would merge them (through an index, in linear time);
// polygon material indices follow (an index outside the old list becomes -1).
void mergeMeshSurfaces(SceneDoc& doc);

// Replaces the document's surfaces by every mesh's surfaces, mesh by mesh
// (face count and UV set index not copied; nothing changes there when the
// meshes have none), makes polygon material indices document-wide and
// empties the meshes' lists. A material index that names no surface of its
// own mesh becomes -1 instead of being shifted onto another mesh's surface.
// Nothing changes when the list cannot be allocated.
void collectSurfaces(SceneDoc& doc);

} // namespace prepare
} // namespace yfx
