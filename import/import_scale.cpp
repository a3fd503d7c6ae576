#include "import/import_scale.h"

#include "normalise/bone_transforms.h"
#include "normalise/scale_document.h"

#include <cmath>

namespace yfx {
namespace importer {

float importScaleFactor(float userFactor) {
    return std::isfinite(userFactor) && userFactor != 0.0f ? userFactor : 1.0f;
}

void scaleForImport(SceneDoc& doc, float userFactor) {
    normalise::scaleDocument(doc, importScaleFactor(userFactor));
    normalise::computeBoneTransforms(doc);
}

} // namespace importer
} // namespace yfx
