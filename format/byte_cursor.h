// The bounds-checked cursor every read of a file image goes through. Each
// primitive returns 1 on success and 0 on failure; a failed read leaves the
// position where it was and, for scalars, stores 0 into the destination. The
// cursor remembers the last shortfall (how many bytes were wanted, where, and
// how many were left) so that the reader can say what went wrong.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/name_pair.h"

namespace yfx {

// How a file stores the text of its names.
enum class NameEncoding { Ansi, Utf16 };

struct Shortfall {
    std::uint64_t needed = 0; // bytes the failed read wanted
    std::uint32_t offset = 0; // position of the failed read
    std::uint32_t left = 0;   // bytes that were left there
};

class ByteCursor {
public:
    ByteCursor() = default;
    ByteCursor(const std::uint8_t* data, std::uint32_t size) { reset(data, size); }

    void reset(const std::uint8_t* data, std::uint32_t size);

    const std::uint8_t* data() const { return data_; }
    std::uint32_t size() const { return size_; }
    std::uint32_t position() const { return position_; }
    std::uint32_t remaining() const { return size_ - position_; }
    // Moves to an absolute position; 0 (and no move) beyond the end or before
    // the floor.
    int seek(std::uint32_t position);
    // Forbids moving back before `position` from now on: the bytes there may
    // be gone. Reads only go forward, so none can reach them. A reset lifts it.
    void setFloor(std::uint32_t position) { floor_ = position; }
    std::uint32_t floor() const { return floor_; }

    int readU32(std::uint32_t& out);
    int readI32(std::int32_t& out);
    int readU16(std::uint16_t& out);
    int readF32(float& out);
    // `count` little-endian floats; on failure the destination is zeroed.
    int readF32s(float* out, std::uint32_t count);
    // Copies n raw bytes; fails when the image or the destination is null.
    int readBytes(void* out, std::uint32_t n);
    int skip(std::uint64_t n);
    // Skips `count` elements of `elementSize` bytes; a negative count is
    // empty. The product is formed without overflow.
    int skipElements(std::int64_t count, std::uint64_t elementSize);
    // True when `count` elements of `elementSize` bytes fit into what is left
    // (a negative count always fits); records the shortfall otherwise.
    bool fits(std::int64_t count, std::uint64_t elementSize);

    // A u16 byte length L, then L bytes of text in the given encoding, stored
    // into both forms of the pair. A name longer than the pair can hold is
    // cut; the cursor still moves past all L bytes. UTF-16 text of odd length
    // ignores its last byte (it never reads past the L bytes).
    int readName(NamePair& out, NameEncoding encoding);
    // Steps over a name without converting it.
    int skipName();

    const Shortfall& lastShortfall() const { return shortfall_; }

private:
    bool has(std::uint64_t n);

    const std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t position_ = 0;
    std::uint32_t floor_ = 0;
    Shortfall shortfall_;
};

// Decodes `units` UTF-16LE code units (2 bytes each) into wide text, at most
// `capacity - 1` characters, stopping at a zero unit, and terminates it.
// Surrogate pairs become one character where wchar_t is 32-bit; a lone
// surrogate becomes U+FFFD there. Returns the number of characters written.
std::size_t decodeUtf16(const std::uint8_t* bytes, std::size_t units, wchar_t* out,
                        std::size_t capacity);

} // namespace yfx
