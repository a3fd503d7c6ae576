// The host's transform value in the document's matrix form, and filling a
// placement block from it.
#pragma once

#include "document/doc_transform.h"

namespace yfx {

// host holds the host's matrix value as four rows of three floats (rows 0 to
// 2 the linear part, row 3 the translation). out receives it as a row-major
// 4x4 matrix: host row c, component r becomes element (r, c), so the linear
// part's rows become columns and the translation lands in column 3; row 3 is
// (0, 0, 0, 1).
void hostToMatrix(const float host[12], float out[16]);

// The host matrix, taken as by hostToMatrix, decomposed: position =
// translation, quaternion = rotation, scale = stretch, negated when the
// matrix mirrors. Nothing else of the transform changes.
void transformFromHostMatrix(DocTransform& transform, const float host[12]);

} // namespace yfx
