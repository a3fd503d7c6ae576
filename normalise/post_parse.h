// The normalisation a freshly read document goes through before the importer
// uses it.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// Runs, in this order: cleanGeometry, triangulateMeshes, the weight and face
// counts, normalizeWeights, computeBoneTransforms, alignRotationKeys,
// makeNamesUnique and buildGroupMembers. A pass that cannot work (missing
// arrays, allocation failure) leaves its part as it was and the others still
// run; the load that calls this never fails because of it.
void runPostParsePasses(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
