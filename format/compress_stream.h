// The compression of the container step: a whole stream in memory into one
// standard zlib stream (any zlib inflates it), the same bytes for the same
// input on every build and machine.
#pragma once

#include <cstddef>
#include <cstdint>

#include "format/byte_buffer.h"

namespace yfx {

// The room the compressed copy gets: the inner stream's length n plus 12
// plus a tenth of n (taken in single precision), and never less than the
// most the compressor can produce from n bytes.
std::size_t compressedRoom(std::size_t n);

// Compresses `size` bytes (0 allowed) into `out`, which then holds exactly
// the zlib stream. False when memory runs short; `out` is then empty.
bool compressStream(const std::uint8_t* source, std::size_t size, ByteBuffer& out);

} // namespace yfx
