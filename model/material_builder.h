// Host materials from a model's materials: each becomes a material of the
// host's default class with the diffuse colour, the opacity and the maps the
// class has channels for: colour (diffuse or base colour), opacity, bump
// (height), normal and specular. The UV set it uses is the UV channel of its
// colour map (or of its first map). Texture kinds without a host channel,
// second textures of a kind, projected mappings and UV transforms are said in
// the notes.
#pragma once

#include "model/model_notes.h"
#include "model/texture_files.h"

#include <string>

struct aiMaterial;
class DzDefaultMaterial;

namespace yfx {
namespace model {

struct HostMaterial {
    DzDefaultMaterial* material = nullptr; // new, unreferenced
    int uvSet = 0;                         // the UV set its maps use (0 or 1)
};

// `index` is the material's place in the model (for its default name).
HostMaterial makeHostMaterial(const aiMaterial* source, unsigned index, TextureFiles& textures,
                              ModelNotes& notes);

} // namespace model
} // namespace yfx
