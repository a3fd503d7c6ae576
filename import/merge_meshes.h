// The document's meshes made one before the build meshes are formed.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace importer {

// With two or more meshes: one new mesh "YFXMesh0" takes every polygon of
// every mesh, in mesh order and polygon order, whole (corners and UV layers
// with them), and replaces them. Fewer than two meshes: nothing changes.
// When the room cannot be had the document is left as it was.
void mergeMeshes(SceneDoc& doc);

} // namespace importer
} // namespace yfx
