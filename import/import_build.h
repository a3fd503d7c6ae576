// The build step of the read step: host objects from a loaded, scaled
// document. Exposed on its own so that a document can be built without a
// file (tests, fuzz targets).
#pragma once

#include "import/import_session.h"

namespace yfx {
namespace importer {

// In this order: scene frame 0 and a refresh; the "Unassigned" group and
// material for polygons without one; with groups off, the group-to-bone
// table; without animation, the animations dropped; without joints, every
// weight and the bones dropped; with animation, the time line; meshes,
// figure, bones, skin and keys (buildMeshes); with lights, the lights; a
// final refresh. A pass that runs out of memory stops, and the next one
// still runs. Needs a scene; returns 1, or 0 without one.
int buildImportedScene(ImportSession& session);

} // namespace importer
} // namespace yfx
