// The figure path's geometry: the current figure's one shape.
#pragma once

#include "import/import_session.h"
#include "import/mesh_build.h"

namespace yfx {
namespace importer {

// Gives the current figure a new object, named after m, holding m's shape
// (addImportShape), bound to the bones when joints are on. Returns 1 when
// done or when m has no vertices or faces, 0 without a current figure or
// when the object refuses the shape.
int buildFigureShape(const ImportSession& session, MeshBuild& build, const ImportMesh& m);

} // namespace importer
} // namespace yfx
