// The plain path's geometry: one host node per build mesh.
#pragma once

#include "import/import_session.h"
#include "import/mesh_build.h"

namespace yfx {
namespace importer {

// A node with an object holding m's shape (addImportShape), all three named
// after m, bound to the bones when joints are on, added to the scene.
// Returns 1 when done or when m has no vertices or faces (nothing is made),
// 0 when the host refuses the shape or the node (nothing is left behind).
int buildMeshNode(const ImportSession& session, MeshBuild& build, const ImportMesh& m);

} // namespace importer
} // namespace yfx
