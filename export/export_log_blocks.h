// The blocks of the export log that the write step writes itself: the header
// with the options, the texture files the copy pass left out, and the final
// materials with their bitmap paths.
#pragma once

#include "document/scene_doc.h"
#include "export/export_session.h"
#include "prepare/texture_files.h"
#include "prepare/uv_expansion.h"

namespace yfx {
namespace exporter {

// "doc_filepath", "creator", "version" and "time" lines, an empty line, then
// each option's name right-aligned in 19 characters with 1 (on) or 0, and an
// empty line.
void logHeader(const ExportSession& session);

// One line for every surface the tile collapse moved as one over more than
// one tile: its names, UV set, u range before and after the move.
void logSpannedTiles(const std::vector<prepare::SpannedTiles>& spanned);

// One line for every texture the copy pass did not copy: why, the source and
// the destination it would have had.
void logTexturesNotCopied(const prepare::TextureCopyReport& report);

// "NUM_MATERIALS: <n> (GLOBAL FINAL)", then every material with its map
// count and name, and under it every bitmap (type 1) map with its path.
void logMaterials(const SceneDoc& doc);

} // namespace exporter
} // namespace yfx
