// The host scene's keys as one Assimp animation, for the scene writer. Every
// node with keys on its transform properties gets a channel with one
// position, rotation and scale key per frame, from the first frame of the
// animation range to the last frame any key is on, sampled from the node's
// local frame (so whatever drives it, the channel repeats what the host
// shows). Times are in frames, at the scene's frame rate.
#pragma once

#include "model/model_notes.h"
#include "model/space_conversion.h"
#include "model/writer_nodes.h"

struct aiAnimation;

namespace yfx {
namespace model {

// Null when no node has keys.
aiAnimation* writeAnimation(const WriterTree& tree, const SpaceConversion& toModel,
                            ModelNotes& notes);

} // namespace model
} // namespace yfx
