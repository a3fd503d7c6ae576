// The host scene (dzScene) as an Assimp scene, to be written as a model: the
// node tree with every node's frame, meshes with their UV sets, materials
// with colour, opacity and texture files, the figures' bones with their bind
// (offset) matrices and weights, the keys as one animation sampled per frame,
// and the lights; in the units of the target format (see SpaceConversion).
// What the target cannot hold is said in the notes.
#pragma once

#include "model/model_notes.h"

#include <QtCore/QString>

#include <memory>
#include <string>

struct aiScene;

namespace yfx {
namespace model {

// `extension`: the target's, lower case; `outputFolder`: where the model is
// written (texture paths inside it are written relative to it).
std::unique_ptr<aiScene> sceneFromHost(const std::string& extension, const QString& outputFolder,
                                       ModelNotes& notes);

} // namespace model
} // namespace yfx
