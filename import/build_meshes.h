// The geometry, skeleton, skin and keys of the import: the document's meshes
// merged and regrouped into build meshes, then either one node per group
// (plain path) or one figure whose shape holds every polygon, skinned to its
// bones (figure path).
#pragma once

#include "import/import_session.h"

namespace yfx {
namespace importer {

// True when the import needs a figure: the document has bones and an
// animation with a key in some track, or some pool vertex has two weights or
// more, or joints are on and some pool vertex has a weight.
bool needsFigurePath(const ImportSession& session);

// Every polygon of every mesh into the first group, which then counts them
// all (the other groups count none). Nothing without groups.
void regroupIntoFirst(SceneDoc& doc);

// Runs the chosen path:
// - plain: polygons stay in their groups with groups on (else all go to the
//   first group, which takes the file's base name); every animation baked;
//   with joints on the bone hierarchy; a node per build mesh.
// - figure: all polygons in the first group; every animation baked and its
//   rotation keys aligned; the bone hierarchy with joints on (which makes the
//   figure), else an empty figure; the first build mesh, named after the
//   file, as the figure's shape.
// Returns 1.
int buildMeshes(ImportSession& session);

} // namespace importer
} // namespace yfx
