// The images a glTF or GLB names made ones the format allows, PNG and JPEG:
// a texture file that already is one (by its content) is named as it is; any
// other image the tool reads (TGA, BMP, ...) is decoded and written as a PNG
// file beside the model, or for a GLB stored in the file itself. A PNG file
// is always created new, never over an existing file: when the name is taken
// by a file of other content the next of NAME_1.png, NAME_2.png, ... is used,
// and a file that already holds the same bytes is named as it is. Texture
// kinds glTF has no place for (opacity, bump) are taken out and said.
#pragma once

#include "model/model_notes.h"

#include <QtCore/QString>

#include <vector>

struct aiScene;

namespace yfx {

// Rewrites the texture paths of the scene's materials. `outputFolder`: the
// model's folder (relative texture paths are taken against it, PNG files go
// into it); `embed`: store converted images in the scene (for a GLB) rather
// than in files. Each conversion is said in `notes.applied`; a texture that
// cannot be read or written is taken out of its material and said in
// `notes.dropped`. `created` receives the PNG files written (absolute paths).
void makeGltfTextures(aiScene& scene, const QString& outputFolder, bool embed,
                      model::ModelNotes& notes, std::vector<QString>& created);

} // namespace yfx
