// The document as one JSON object, the machine-readable form of "yfx dump"
// (the format is described in the README). Every record of every kind is
// written; floats with 9 significant digits, names as UTF-8.
#pragma once

#include <vector>

#include "document/scene_doc.h"
#include "tools/yfx/json_writer.h"

namespace yfx {

// Writes {"status": 1, "version": ..., "lights": [...], ...}.
void writeDocumentJson(const SceneDoc& doc, JsonWriter& json);

// The paths a map holds, in order: its one path (types 1, 2, 3, 6, 7), its
// layers' paths (type 4) or its six paths (type 5); none for other types.
std::vector<const NamePair*> mapPaths(const DocMap& map);

} // namespace yfx
