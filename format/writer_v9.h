// The version 2 ("v2.x") writer: a scene document in the older version 9
// layout, with its 96-byte header, no lights, cameras, face links or UV sets,
// and polygons gathered by group.
#pragma once

#include <cstdio>

#include "document/scene_doc.h"
#include "format/byte_sink.h"
#include "format/file_layout.h"
#include "format/writer_options.h"

namespace yfx {

// Writes the stream into the sink from its position 0 and fills the caller's
// header record (normally default-made). Returns 1 on success, 0 at the first
// failed write or allocation.
int writeDocumentV2(const SceneDoc& doc, const WriterOptions& options, ByteSink& sink,
                    FileHeaderV2& header);
// The same into an open binary stream positioned at 0.
int writeDocumentV2(const SceneDoc& doc, const WriterOptions& options, std::FILE* stream,
                    FileHeaderV2& header);

} // namespace yfx
