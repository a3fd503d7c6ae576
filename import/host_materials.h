// The materials of an imported shape: one neutral "DefaultMat", or one host
// default material per document material that the mesh's faces use, with
// its colour, opacity and up to four texture maps from the host's image
// manager.
#pragma once

#include <cstdint>

#include "document/doc_material.h"
#include "import/import_session.h"
#include "import/mesh_build.h"

class DzMaterial;
class DzShape;

namespace yfx {
namespace importer {

// With materials off, or when no face names a document material: one
// material "DefaultMat". Otherwise createMaterial for every document material
// some face of m names, in ascending index. build.shape_materials records,
// per document material, the host material this shape got for it.
void addShapeMaterials(const ImportSession& session, MeshBuild& build, DzShape& shape,
                       const ImportMesh& m);

// Adds a host default material named after the record to the shape, then
// sets its maps for channels 0 to 3 (colour, opacity, bump or normal,
// specular; for each channel the first map of the record with it, used when
// it is a bitmap file with a path), its diffuse colour (components clamped to
// 0..1, as bytes) and opacity. Without an image manager the maps are
// skipped. Returns the material, or null when the shape refuses it or the
// image manager cannot supply a texture (the material then stays in the
// shape with only its name).
DzMaterial* createMaterial(DzShape& shape, const DocMaterial& material);

// The index in the shape of the material a facet of the document material
// takes: the recorded host material's index, or 0 when materials are off,
// the index is negative or out of range, or nothing was recorded for it.
int facetMaterialIndex(const ImportSession& session, const MeshBuild& build, const DzShape& shape,
                       std::int32_t docMaterial);

} // namespace importer
} // namespace yfx
