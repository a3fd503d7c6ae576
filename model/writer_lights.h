// Assimp lights from the host's lights, for the scene writer: distant, point
// and spot lights as directional, point and spot lights at their node,
// shining along the node's -Z axis, the colour times the intensity (Assimp's
// lights have no intensity of their own), a spot's spread as its outer cone.
#pragma once

#include "model/model_notes.h"
#include "model/writer_nodes.h"

#include <vector>

struct aiLight;

namespace yfx {
namespace model {

std::vector<aiLight*> writeLights(const WriterTree& tree, ModelNotes& notes);

} // namespace model
} // namespace yfx
