// The figure mesh bound to its bones: one bone binding with one weight map
// per bone that weights a vertex of the mesh.
#pragma once

#include "import/import_session.h"
#include "import/mesh_build.h"

class DzObject;

namespace yfx {
namespace importer {

// For every bone (in index order) that some weight of a pool vertex behind
// m's vertices names, and that has a host bone: a bone binding "<bone>_bind"
// on that bone whose weight map holds, for each vertex of m, the weight of
// the first entry of its pool vertex that names the bone (0 when none),
// added to the current figure's skin binding. One pass over the vertices
// fills every map. Then, when the document has group builds, the figure's
// selection map (addSelectionMap). Returns 0 when the object is missing, 1
// otherwise (also when there is nothing to bind).
int bindSkin(const ImportSession& session, const MeshBuild& build, const ImportMesh& m,
             const DzObject* object);

} // namespace importer
} // namespace yfx
