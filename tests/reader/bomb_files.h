// Compressed files whose headers declare far more than they hold: the two
// "bombs" a reader must turn down quickly and without allocating what they
// declare, and the sectioned container builder they share with other
// inflation cases. Used by the reader's tests and by the tool's, which run
// `yfx validate` on them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "reader/chunked_builder.h"

namespace yfx_test {

// About 4 GB, still within what deflate could make of 4 MiB.
constexpr std::int64_t kBombDeclaredSize = 0xFFFFFFF0;
constexpr std::size_t kBombBodySize = std::size_t(4) << 20;

// A version 8 container (flags 18, body at 96) declaring an inner stream of
// `size` bytes, then `body` as the compressed stream.
inline ByteList sectionedContainer(std::int64_t size, const ByteList& body) {
    Bytes b;
    b.zeros(96);
    b.putU32(0, 0x48584659u);
    b.putU32(4, 8);
    b.putU32(8, 18);
    b.putU32(12, static_cast<std::uint32_t>(size));
    b.putU32(20, 96);
    b.data.insert(b.data.end(), body.begin(), body.end());
    return b.data;
}

// A version 34 file compressed twice, about 4 KB: its outer level inflates
// honestly to a 4 MiB chunked image whose header declares about 4 GB over
// 4 MiB of zeros, which are no deflate stream.
inline ByteList nestedChunkedBomb() {
    return compressedChunked(
        chunkedHeader(flag::kCompressed, ByteList(kBombBodySize, 0), kBombDeclaredSize));
}

// A 4 MiB container declaring an inner stream of about 4 GB over zeros.
inline ByteList containerBomb() {
    return sectionedContainer(kBombDeclaredSize, ByteList(kBombBodySize, 0));
}

} // namespace yfx_test
