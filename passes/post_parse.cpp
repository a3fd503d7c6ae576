#include "passes/post_parse.h"

#include "passes/bone_transforms.h"
#include "passes/clean_geometry.h"
#include "passes/document_sweeps.h"
#include "passes/group_members.h"
#include "passes/triangulate.h"
#include "passes/unique_names.h"
#include "passes/use_counts.h"

namespace yfx {
namespace passes {

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

} // namespace passes
} // namespace yfx
