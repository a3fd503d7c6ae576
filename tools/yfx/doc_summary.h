// The document as readable text, the human form of "yfx dump": counts and
// names of every kind, materials with their maps, bones as a tree and
// animations with their key counts and frame range.
#pragma once

#include <string>

#include "document/scene_doc.h"

namespace yfx {

std::string documentSummary(const SceneDoc& doc);

} // namespace yfx
