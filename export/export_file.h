// The last step of an export: the document written into the target file. The
// writer of the chosen layout fills a temporary file in the system's
// temporary directory; the container step packs it into a new file beside the
// target, which is then renamed over the target. Until that rename the
// target is untouched, and no temporary file outlives the call.
#pragma once

#include <string>

#include "document/scene_doc.h"
#include "format/writer_options.h"

namespace yfx {
namespace exporter {

enum class FileLayout { kCurrent, kVersion2 };

// Writes the document into `target` (a host path). False with `failure`
// (UTF-8) saying what failed and where: the temporary file cannot be made,
// opened or written, the writer failed, the new file cannot be made beside
// the target, the container step failed, or the rename failed.
bool writeExportFile(const SceneDoc& doc, const WriterOptions& options, FileLayout layout,
                     const std::wstring& target, std::string& failure);

} // namespace exporter
} // namespace yfx
