// The document's surfaces turned into its materials.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// One material per surface, in order (name, opacity, diffuse colour from the
// colour bytes, one type 1 map per texture path; a normal map without a bump
// map goes on the bump channel with kMapFlagNormalInBump). The surfaces are
// emptied. Nothing changes when the materials cannot be allocated.
void surfacesToMaterials(SceneDoc& doc);

// Surfaces with the same colour and opacity textures share one material: the
// materials are those findOrAddMaterial over the surfaces in order would
// build in an empty document (first match kept), found through an index in
// linear time. Polygon material indices follow (outside the surface list:
// -1). The document's materials are replaced and the surfaces emptied; when a
// material cannot be appended nothing changes.
void mergeSurfacesToMaterials(SceneDoc& doc);

} // namespace prepare
} // namespace yfx
