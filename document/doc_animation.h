// Helpers on animation keys.
#pragma once

#include "document/scene_doc.h"

namespace yfx {

// Quaternion continuity: in every track, each rotation key whose dot product
// with the previous (already adjusted) key is negative is negated.
void alignRotationKeys(DocAnimation& animation);

} // namespace yfx
