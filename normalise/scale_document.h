// Scaling of a read document by the user's import factor.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// Scales the model by factor about the centre c of the vertex bounds (the
// origin when there are no vertices): vertices, root bones (negative parent
// index), lights and cameras move to (position - c) * factor + c; bones with
// a parent and every animation position key are multiplied by factor, as are
// the lights' two ranges. Matrices, heads, tails, lengths, rotations and
// scale keys are left as they are.
void scaleDocument(SceneDoc& doc, float factor);

} // namespace normalise
} // namespace yfx
