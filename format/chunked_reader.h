// The reader of the chunked layout (version 34). The header reader hands a
// file of exactly version 34 to parseChunkedImage with the image as read
// (still compressed if its flags say so); the chunked reader reads its own
// header from position 0, inflates as often as the image is nested (at most
// kChunkedMaxInflations levels), and fills the document from the chunks
// with the record readers of the late sectioned layout.
#pragma once

#include "format/reader.h"

namespace yfx {

// Returns a load status (1, 0, -5, -6, -7) and sets the reader's reason on
// failure.
int parseChunkedImage(Reader& r);

} // namespace yfx
