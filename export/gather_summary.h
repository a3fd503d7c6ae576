// The log's account of what the gathering found: the meshes with their
// counts, each mesh's surfaces, and the node records.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace exporter {

// Writes the summary through log_printf; the caller checks that logging is on.
void logGatherSummary(const SceneDoc& doc);

} // namespace exporter
} // namespace yfx
