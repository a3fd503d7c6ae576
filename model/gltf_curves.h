// How a glTF file's animation is played, where Assimp 5.2 keeps only the
// keys: it drops each sampler's interpolation (so STEP and CUBICSPLINE keys
// would be played as LINEAR, and a spline's tangents are lost) and reads
// outputs stored as normalised integers as raw bytes. Such channels are read
// from the file itself as key curves, matched to Assimp's node channels by
// node name (Assimp names a channel after its node, or "nodes[i]" for a node
// without a name) and checked against them key for key; the other channels
// keep Assimp's keys.
#pragma once

#include "model/key_curves.h"
#include "model/model_notes.h"

struct aiScene;

namespace yfx {
namespace model {

class GltfSource;

// The curves of `scene`'s animation `animation` (-1: none) that the file
// states better than Assimp; what was read, and what could not be, is said
// in `notes`.
AnimationCurves readGltfCurves(const aiScene& scene, int animation, GltfSource& source,
                               ModelNotes& notes);

} // namespace model
} // namespace yfx
