// A node's object: one facet shape whose mesh holds the given mesh parts
// (facet_mesh_builder.h) and whose materials are made from the model's
// materials the parts use, one host material per model material, each set to
// the UV set its maps use.
#pragma once

#include "model/facet_mesh_builder.h"
#include "model/model_notes.h"
#include "model/texture_files.h"

#include <string>
#include <vector>

struct aiScene;
class DzObject;

namespace yfx {
namespace model {

// Each part's material slot is set here from its mesh's material. `geometry`
// receives the built mesh's weights; the mesh itself goes into the shape.
DzObject* makeObject(const aiScene& scene, std::vector<MeshPart>& parts, const std::string& name,
                     TextureFiles& textures, ModelNotes& notes, BuiltGeometry& geometry);

} // namespace model
} // namespace yfx
