// Filling a placement block from a host transform.
#pragma once

#include "document/doc_transform.h"

namespace yfx {

// host holds the host's matrix value as four rows of three floats (rows 0 to
// 2 the linear part, row 3 the translation). It is taken as the affine 4x4
// matrix with the translation in column 3 and decomposed: position =
// translation, quaternion = rotation, scale = stretch, negated when the
// matrix mirrors. Nothing else of the transform changes.
void transformFromHostMatrix(DocTransform& transform, const float host[12]);

} // namespace yfx
