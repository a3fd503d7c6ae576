// The UV of a polygon corner in a loaded document, as the host takes it.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace render {

// The UV that the corner's first layer names in the document's first UV set,
// with v turned upwards as the host takes it (the file counts v from the
// top: host v = 1 - v). False when the index names no UV of the set or a
// value is not finite.
bool cornerUv(const SceneDoc& doc, const DocCorner& corner, double& u, double& v);

} // namespace render
} // namespace yfx
