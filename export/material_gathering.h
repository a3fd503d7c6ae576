// Material gathering: one DocSurface per assembly material of a mesh's shape,
// with its name, diffuse colour, opacity, UV set and the paths and sizes of up
// to six texture maps. The host's default material is read through its own
// accessors; every other material through its named properties.
#pragma once

#include "export/export_session.h"

class DzShape;

namespace yfx {
namespace exporter {

// Fills mesh.surfaces from the shape's assembly materials (a missing material
// leaves its surface as constructed) and logs each while logging is on.
// Returns 1, also for a shape without assembly materials; 0 when the surfaces
// cannot be allocated.
int gatherMaterials(ExportSession& session, const DzShape& shape, DocMesh& mesh);

} // namespace exporter
} // namespace yfx
