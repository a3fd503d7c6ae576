#include "format/container.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

#include "format/byte_buffer.h"
#include "format/compress_stream.h"
#include "format/header_codec.h"
#include "platform/file_position.h"
#include "platform/temp_file.h"

namespace yfx {
namespace {

// Reads a whole file into memory. False on any failure.
bool readWhole(const std::wstring& path, ByteBuffer& bytes) {
    std::FILE* f = openHostFile(path, "rb");
    if (f == nullptr) {
        return false;
    }
    const std::int64_t length = fileLength(f);
    bool ok = length >= 0 && std::uint64_t(length) <= UINT32_MAX;
    if (ok) {
        ok = bytes.resize(std::size_t(length)) &&
             (length == 0 || std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size());
    }
    std::fclose(f);
    return ok;
}

// True when the stream read back is the complete one the writer described:
// long enough for its header, as long as the header's size field says, and
// beginning with exactly the header the writer finished with.
bool matchesHeader(const ByteBuffer& inner, const std::uint8_t* header, std::size_t headerSize) {
    return inner.size() >= headerSize && loadU32(header + 12) == inner.size() &&
           std::memcmp(inner.data(), header, headerSize) == 0;
}

// The container's header: the inner header's bytes, whose first section
// offset (byte 20) equals the header length, which is where the compressed
// data starts; then "YFXH", version 8, flags 18 and the inner length over its
// first four fields.
void makeOuterHeader(const std::uint8_t* inner, std::size_t headerSize, std::uint32_t innerSize,
                     std::uint8_t* out) {
    std::memcpy(out, inner, headerSize);
    std::memcpy(out, kFileMagic, 4);
    storeU32(out + 4, kVersionContainer);
    storeU32(out + 8, kContainerFlags);
    storeU32(out + 12, innerSize);
}

bool writeFinal(const std::wstring& finalPath, const std::uint8_t* header, std::size_t headerSize,
                const ByteBuffer& compressed) {
    std::FILE* f = openHostFile(finalPath, "wb");
    if (f == nullptr) {
        return false;
    }
    const bool written =
        std::fwrite(header, 1, headerSize, f) == headerSize &&
        std::fwrite(compressed.data(), 1, compressed.size(), f) == compressed.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        deleteHostFile(finalPath); // never leave a cut-off container behind
        return false;
    }
    return true;
}

int pack(const std::uint8_t* header, std::size_t headerSize, const std::wstring& tempPath,
         const std::wstring& finalPath) {
    int result = 0;
    ByteBuffer inner;
    ByteBuffer compressed;
    if (readWhole(tempPath, inner) && matchesHeader(inner, header, headerSize) &&
        compressStream(inner.data(), inner.size(), compressed)) {
        std::uint8_t outer[kHeaderSize];
        makeOuterHeader(inner.data(), headerSize, static_cast<std::uint32_t>(inner.size()), outer);
        inner.clear();
        result = writeFinal(finalPath, outer, headerSize, compressed) ? 1 : 0;
    }
    deleteHostFile(tempPath);
    return result;
}

} // namespace

bool buildContainer(const std::uint8_t* inner, std::size_t size, std::size_t headerSize,
                    std::vector<std::uint8_t>& out) {
    out.clear();
    if (inner == nullptr || size < headerSize || headerSize < kHeaderFirstOffsetPosition + 4 ||
        headerSize > kHeaderSize || std::uint64_t(size) > UINT32_MAX) {
        return false;
    }
    ByteBuffer compressed;
    if (!compressStream(inner, size, compressed)) {
        return false;
    }
    try {
        out.resize(headerSize);
        makeOuterHeader(inner, headerSize, static_cast<std::uint32_t>(size), out.data());
        out.insert(out.end(), compressed.data(), compressed.data() + compressed.size());
    } catch (const std::bad_alloc&) {
        std::vector<std::uint8_t>().swap(out);
        return false;
    } catch (const std::length_error&) {
        std::vector<std::uint8_t>().swap(out);
        return false;
    }
    return true;
}

int packContainer(const FileHeader& header, const std::wstring& tempPath,
                  const std::wstring& finalPath) {
    std::uint8_t bytes[kHeaderSize];
    encodeHeader(header, bytes);
    return pack(bytes, kHeaderSize, tempPath, finalPath);
}

int packContainerV2(const FileHeaderV2& header, const std::wstring& tempPath,
                    const std::wstring& finalPath) {
    std::uint8_t bytes[kHeaderSizeV2];
    encodeHeader(header, bytes);
    return pack(bytes, kHeaderSizeV2, tempPath, finalPath);
}

} // namespace yfx
