// The bounding box of the document's vertex pool.
#pragma once

#include "document/scene_doc.h"

namespace yfx {

struct DocBounds {
    float size[3] = {0, 0, 0};
    float unused = 0.0f; // left as it is by computeBounds when there are vertices
    float minimum[3] = {0, 0, 0};
    float maximum[3] = {0, 0, 0};
    float centre[3] = {0, 0, 0};
};

// Minimum, maximum, size and centre of every pool vertex position; the whole
// record zero when the pool is empty.
void computeBounds(const SceneDoc& doc, DocBounds& bounds);

} // namespace yfx
