// The reader of the chunked layout (version 34). The header reader hands a
// file of exactly version 34 to parseChunkedImage with the cursor at 0 and
// the image as read (still compressed if its flags say so); the chunked
// reader reads its own header from there and fills the document.
#pragma once

#include "format/reader.h"

namespace yfx {

// Returns a load status (1, 0, -5, -6, -7) and sets the reader's reason on
// failure.
int parseChunkedImage(Reader& r);

} // namespace yfx
