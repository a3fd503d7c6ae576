// Per-record document operations run over every record of their kind.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// Normalises the weights of every pool vertex that has any, so that each
// vertex's weights sum to 1 (the per-vertex rule of the document).
void normalizeWeights(SceneDoc& doc);

// Rotation-key continuity on every track of every animation.
void alignRotationKeys(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
