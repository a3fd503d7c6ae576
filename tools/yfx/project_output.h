// Writing a document as a project file the way an export with every option
// on does: the version 31 stream (or the version 9 one) packed into the
// compressed container. Everything happens in memory, then the file is put
// in place in one step (platform/replace_file.h), so no temporary file of the
// container step is ever left anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/scene_doc.h"
#include "format/writer_options.h"

namespace yfx {

// Every option on, the exporter's creator and version texts, and the time
// text of now (or of SOURCE_DATE_EPOCH when set).
WriterOptions allOnWriterOptions();

// The container bytes of the document. False with `error` set when the
// writer or the compression fails.
bool encodeProjectFile(const SceneDoc& doc, bool version9, std::vector<std::uint8_t>& out,
                       std::string& error);

// Prepares the document for the target (tools/yfx/writable_doc.h), encodes it
// and replaces the file at `path` (a command-line path). False with `error`
// set on any failure; the file at `path` is then as it was.
bool saveProjectFile(SceneDoc& doc, bool version9, const std::string& path, std::string& error);

} // namespace yfx
