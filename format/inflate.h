// Inflation of a zlib-compressed file body whose memory follows the data:
// the output buffer grows only as bytes really come out of the stream, never
// beyond the size the file declares for them nor beyond what the load may
// still inflate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "format/byte_buffer.h"

namespace yfx {

// The most one load inflates, summed over every compressed level of a file.
// The heaviest scenes the exporter meets are figures of about a million
// polygons, whose version 31 stream is about 280 MB (the bench's grid of a
// million quads with weights and two UV sets: 276 MB). 1 GiB admits scenes
// of well over three times that, more than the 32-bit host can hold next to
// the document such a stream becomes, while it stops a hostile stream before
// the output alone takes gigabytes.
constexpr std::uint64_t kInflateBudget = std::uint64_t(1) << 30;

// The largest output a zlib stream of `sourceLength` bytes can produce:
// deflate expands at most about 1032 to 1, and the stream's own header and
// checksum take 6 bytes. A declared size above this cannot be genuine.
std::uint64_t largestInflatedSize(std::uint64_t sourceLength);

// Sees the output after every step of the inflation (the bytes so far and
// their count); returning false stops the inflation there.
using InflateWatch = std::function<bool(const std::uint8_t* bytes, std::size_t size)>;

// Inflates `source` (a complete zlib stream) into `out`. `capacity` is the
// size the file declares: refused before anything is allocated when it is 0
// or beyond what the source could produce, and the stream may not inflate
// beyond it. `budget` is what the load may still inflate: the stream may not
// inflate beyond it either. The buffer starts at 64 KiB and doubles as it
// fills; only a capacity that real data reaches from a source this long (at
// most 32 times it), and that the output so far promises, is taken at once.
// So it never holds more than the most of 64 KiB, twice the bytes inflated
// and 32 times the source. The buffer's new room is never filled before the
// inflation writes it.
// True on success with `out` holding the inflated bytes (possibly fewer than
// declared); false with `why` set otherwise, or with `why` untouched when
// `watch` stopped the inflation. `watch` may see the output in fewer, larger
// steps than zlib makes (once the buffer may take the whole size, the
// stream inflates in one call), but it judges the same bytes, and a stream
// that call refuses is inflated again step by step: every stream gives
// zlib's result and failure reason, save one kind that only a deliberate
// encoder makes. A stream using the codes deflate reserves (lengths 286 and
// 287, distances 30 and 31, or declaring more than 286 or 30 codes) whose
// bytes pass the checksum is refused by zlib and inflated by the one call.
bool inflateStream(const std::uint8_t* source, std::size_t sourceLength, std::uint32_t capacity,
                   std::uint64_t budget, ByteBuffer& out, std::string& why,
                   const InflateWatch& watch = InflateWatch());
// The same into a vector (a copy of the inflated bytes).
bool inflateStream(const std::uint8_t* source, std::size_t sourceLength, std::uint32_t capacity,
                   std::uint64_t budget, std::vector<std::uint8_t>& out, std::string& why,
                   const InflateWatch& watch = InflateWatch());

} // namespace yfx
