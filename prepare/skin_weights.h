// The skin weights of a gathered document made complete and normalised.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// Averages repeated weight entries, completes weights from each mesh's own
// bone (unskinned meshes follow it whole), sorts largest first, drops tiny
// entries, entries whose weight is not finite and entries that name no bone
// of the document, normalises so that the weights sum to exactly 1 in float
// (a reader's normalisation then leaves them as written), then computes the
// bone matrices. Works on every mesh's own vertices.
void prepareSkinWeights(SceneDoc& doc);

} // namespace prepare
} // namespace yfx
