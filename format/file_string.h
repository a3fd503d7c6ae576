// The length-prefixed 8-bit string of the file (FileString) and the file name
// rule for texture paths.
#pragma once

#include <cstddef>
#include <string>

#include "format/byte_writer.h"

namespace yfx {

// Writes text (at most its first 259 bytes) as a u16 length L = bytes + 1,
// the bytes and a terminating zero. Returns the bytes written (L + 2), or 0
// when the text is absent or the writer has failed.
std::size_t writeFileString(ByteWriter& out, const char* text);

// The file name and extension of an 8-bit path: drive and directories (with
// either separator) removed.
std::string imageFileName(const char* path);

// Writes the image file name of a path as a FileString.
std::size_t writeImageFileName(ByteWriter& out, const char* path);

} // namespace yfx
