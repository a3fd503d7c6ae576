// Derived counts: how many vertex weights name each bone and how many
// polygons use each material.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// With bones and vertices: every bone's weight references become the number
// of pool weight entries naming it (entries naming no bone are skipped).
void countBoneWeightReferences(SceneDoc& doc);

// With materials and meshes: every material's face count becomes the number
// of polygons naming it (other material indices are skipped).
void countMaterialFaces(SceneDoc& doc);

// Both counts, bones first.
void countWeightAndFaceUse(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
