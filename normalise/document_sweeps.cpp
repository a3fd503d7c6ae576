#include "normalise/document_sweeps.h"

#include "document/doc_animation.h"
#include "document/doc_weights.h"

namespace yfx {
namespace normalise {

void normalizeWeights(SceneDoc& doc) {
    for (DocVertex& vertex : doc.vertices) {
        if (!vertex.weights.empty()) {
            yfx::normalizeWeights(vertex);
        }
    }
}

void alignRotationKeys(SceneDoc& doc) {
    for (DocAnimation& animation : doc.animations) {
        yfx::alignRotationKeys(animation);
    }
}

} // namespace normalise
} // namespace yfx
