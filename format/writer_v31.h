// The current writer: a scene document as the version 31 stream (the inner
// stream of the compressed container, see format/container.h).
#pragma once

#include <cstdint>
#include <cstdio>

#include "document/scene_doc.h"
#include "format/byte_sink.h"
#include "format/file_layout.h"
#include "format/writer_options.h"

namespace yfx {

// Writes the stream into the sink from its position 0. `header` is the
// caller's header record, normally default-made; the writer fills it (magic,
// version, flags, size, the section table) and it is what the container step
// needs. Returns 1 on success, 0 at the first failed write or allocation (the
// sink then holds an incomplete stream).
int writeDocument(const SceneDoc& doc, const WriterOptions& options, ByteSink& sink,
                  FileHeader& header);
// The same into an open binary stream positioned at 0.
int writeDocument(const SceneDoc& doc, const WriterOptions& options, std::FILE* stream,
                  FileHeader& header);

} // namespace yfx
