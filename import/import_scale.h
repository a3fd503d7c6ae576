// The scale step of the read step: the loaded document scaled by the user's
// factor before anything is built from it.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace importer {

// The factor the import scales by: the user's, or 1 when it is 0 or not
// finite (an empty or unreadable scale field would otherwise collapse or
// destroy the model).
float importScaleFactor(float userFactor);

// Scales the document about the centre of its vertex bounds by
// importScaleFactor(userFactor), then recomputes the bone matrices, heads and
// tails from the scaled bone positions. Scaling moves the bones but not the
// heads and tails derived from them; the group-to-bone assignment compares
// the (scaled) group centres with those segments, so without the recompute
// it would pick different bones at different factors.
void scaleForImport(SceneDoc& doc, float userFactor);

} // namespace importer
} // namespace yfx
