// The geometry of one build mesh as a host facet shape, shared by the plain
// path (a node per group) and the figure path (the figure's one shape).
#pragma once

#include "import/import_session.h"
#include "import/mesh_build.h"

class DzObject;
class DzFacetShape;

namespace yfx {
namespace importer {

// Adds to the object a facet shape named after m with its materials and a
// facet mesh "DefaultPoly" holding:
// - face groups: "DefaultPolyGroup_<name>" without group builds, else one
//   per group build, named after it;
// - m's vertices in order;
// - a UV list with one entry per corner of every face, in face order: the
//   corner's UV from the document's first UV set as (u, 1 - v) when
//   texture coordinates are on and the index names one, else (0, 1);
// - one facet per triangle or quad, with its material (facetMaterialIndex),
//   its face group (the face's face-group index when it names a group build,
//   else 0) and the UV indices of its corners in that list. Faces of other
//   corner counts get no facet but keep their UV entries, so the numbering of
//   the later faces holds.
// Returns the shape, or null when the object refuses it (nothing is left
// behind).
DzFacetShape* addImportShape(const ImportSession& session, MeshBuild& build, const ImportMesh& m,
                             DzObject& object);

} // namespace importer
} // namespace yfx
