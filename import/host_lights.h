// The document's lights as host lights.
#pragma once

#include "document/doc_transform.h"
#include "document/scene_doc.h"

class DzQuat;

namespace yfx {
namespace importer {

// Rebuilds the rotation and scale of `transform` (a copy of a light's) from
// its matrix: scale and rotation from the polar decomposition of the
// matrix's first three rows (the scale carrying the sign of a mirror), the
// axes from the rotation, the third axis turned to point the other way and
// the first two rebuilt from it, and the quaternion of the result. The
// position is left as it is.
void lightPlacement(DocTransform& transform);

// The host rotation of a light whose placement quaternion is q: the inverse
// of q made unit length, or the identity when q has no length.
DzQuat hostLightRotation(const float q[4]);

// One host light per document light, in order: kind 1 a distant light, 2 a
// spot light (with its spread angle), any other a point light; named after
// the record, placed at time 0, with its intensity and its colour (each
// component clamped to 0..1, as bytes), and added to the scene. Returns 1.
int createLights(const SceneDoc& doc);

} // namespace importer
} // namespace yfx
