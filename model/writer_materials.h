// Assimp materials from host materials, for the scene writer: the name, the
// diffuse colour, the opacity, and the colour, opacity, bump, normal and
// specular maps as texture files (named relative to the output folder when
// they lie inside it), each on the UV channel the material's UV set names.
#pragma once

#include "model/model_notes.h"

#include <QtCore/QString>

class DzMaterial;
struct aiMaterial;

namespace yfx {
namespace model {

aiMaterial* makeAiMaterial(const DzMaterial& material, const QString& outputFolder,
                           ModelNotes& notes);

// A material for faces that have none.
aiMaterial* defaultAiMaterial();

} // namespace model
} // namespace yfx
