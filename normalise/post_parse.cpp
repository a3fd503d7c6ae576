#include "normalise/post_parse.h"

#include "normalise/bone_transforms.h"
#include "normalise/clean_geometry.h"
#include "normalise/document_sweeps.h"
#include "normalise/group_members.h"
#include "normalise/triangulate.h"
#include "normalise/unique_names.h"
#include "normalise/use_counts.h"

namespace yfx {
namespace normalise {

void runPostParsePasses(SceneDoc& doc) {
    // The results only say whether a pass could work; none stops the others.
    cleanGeometry(doc);
    triangulateMeshes(doc);
    countWeightAndFaceUse(doc);
    normalizeWeights(doc);
    computeBoneTransforms(doc);
    alignRotationKeys(doc);
    makeNamesUnique(doc);
    buildGroupMembers(doc);
}

} // namespace normalise
} // namespace yfx
