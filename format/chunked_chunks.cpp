// Chunk headers: a tag and a length, checked against the enclosing chunk and
// the image before anything inside is read.
#include <cstdio>
#include <string>

#include "format/chunked_parse.h"

namespace yfx {

namespace {

std::string hexTag(std::uint32_t tag) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(tag));
    return text;
}

} // namespace

bool readChunkHeader(Reader& r, std::uint32_t parentEnd, ChunkSpan& out) {
    const std::uint32_t at = r.cursor().position();
    if (at >= parentEnd || parentEnd - at < kChunkHeaderSize) {
        r.fail("needs " + std::to_string(kChunkHeaderSize) +
               " bytes for a chunk header at offset " + std::to_string(at) + ", " +
               std::to_string(at < parentEnd ? parentEnd - at : 0) + " left");
        return false;
    }
    std::uint32_t length = 0;
    if (!r.u32(out.tag) || !r.u32(length)) {
        return false;
    }
    // Formed in 64 bits: a length near 4 GiB must not wrap into the image.
    const std::uint64_t end = std::uint64_t(at) + kChunkHeaderSize + length;
    if (end > r.cursor().size()) {
        r.fail("chunk " + hexTag(out.tag) + " at offset " + std::to_string(at) + " needs " +
               std::to_string(length) + " bytes, " +
               std::to_string(r.cursor().size() - (at + kChunkHeaderSize)) + " left");
        return false;
    }
    out.start = at + kChunkHeaderSize;
    out.end = static_cast<std::uint32_t>(end);
    return true;
}

void leaveChunk(Reader& r, const ChunkSpan& chunk) {
    if (r.cursor().position() < chunk.end) {
        r.cursor().seek(chunk.end);
    }
}

} // namespace yfx
