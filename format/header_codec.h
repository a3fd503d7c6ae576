// Turns the header records of format/file_layout.h into their little-endian
// bytes and back, field by field, so that every build produces and accepts the
// same bytes whatever its struct layout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "format/file_layout.h"

namespace yfx {

// Writes the 128 bytes of a version 31 header (reserved bytes zero).
void encodeHeader(const FileHeader& header, std::uint8_t* out);
// Writes the 96 bytes of a version 9 header (reserved bytes zero).
void encodeHeader(const FileHeaderV2& header, std::uint8_t* out);

// Reads a header from the first bytes of a buffer. False (and the header left
// as it was) when fewer than 128, or 96, bytes are given.
bool decodeHeader(const std::uint8_t* bytes, std::size_t size, FileHeader& header);
bool decodeHeader(const std::uint8_t* bytes, std::size_t size, FileHeaderV2& header);

// Little-endian u32 at a byte position.
inline std::uint32_t loadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
inline void storeU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

} // namespace yfx
