#include "format/container.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <zlib.h>

#include "format/header_codec.h"
#include "platform/temp_file.h"

namespace yfx {
namespace {

// Reads a whole file into memory. False on any failure.
bool readWhole(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    std::FILE* f = openHostFile(path, "rb");
    if (f == nullptr) {
        return false;
    }
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(f) : -1;
    ok =
        ok && length >= 0 && std::uint64_t(length) <= UINT32_MAX && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(std::size_t(length));
        ok = length == 0 || std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    std::fclose(f);
    return ok;
}

// The output room the compressed copy gets: n + 12 + a tenth of n (taken in
// single precision), and never less than zlib's own bound.
uLong outputRoom(std::size_t n) {
    const uLong tenth = static_cast<uLong>(static_cast<float>(n) * 0.1f);
    const uLong room = static_cast<uLong>(n) + 12 + tenth;
    const uLong bound = compressBound(static_cast<uLong>(n));
    return room > bound ? room : bound;
}

// True when the stream read back is the complete one the writer described:
// long enough for its header, as long as the header's size field says, and
// beginning with exactly the header the writer finished with.
bool matchesHeader(const std::vector<std::uint8_t>& inner, const std::uint8_t* header,
                   std::size_t headerSize) {
    return inner.size() >= headerSize && loadU32(header + 12) == inner.size() &&
           std::memcmp(inner.data(), header, headerSize) == 0;
}

bool writeFinal(const std::wstring& finalPath, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = openHostFile(finalPath, "wb");
    if (f == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
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
    try {
        std::vector<std::uint8_t> inner;
        std::vector<std::uint8_t> container;
        if (readWhole(tempPath, inner) && matchesHeader(inner, header, headerSize) &&
            buildContainer(inner.data(), inner.size(), headerSize, container)) {
            inner.clear();
            inner.shrink_to_fit();
            result = writeFinal(finalPath, container) ? 1 : 0;
        }
    } catch (const std::bad_alloc&) {
        result = 0;
    } catch (const std::length_error&) {
        result = 0;
    }
    deleteHostFile(tempPath);
    return result;
}

} // namespace

bool buildContainer(const std::uint8_t* inner, std::size_t size, std::size_t headerSize,
                    std::vector<std::uint8_t>& out) {
    if (inner == nullptr || size < headerSize || headerSize < kHeaderFirstOffsetPosition + 4 ||
        std::uint64_t(size) > UINT32_MAX) {
        return false;
    }
    uLongf length = outputRoom(size);
    out.resize(headerSize + std::size_t(length));
    if (compress(out.data() + headerSize, &length, inner, static_cast<uLong>(size)) != Z_OK ||
        length == 0) {
        out.clear();
        return false;
    }
    out.resize(headerSize + std::size_t(length));
    // Bytes 16 on are the inner header's own; the first section offset (byte
    // 20) equals the header length, which is where the compressed data starts.
    std::memcpy(out.data(), inner, headerSize);
    std::memcpy(out.data(), kFileMagic, 4);
    storeU32(out.data() + 4, kVersionContainer);
    storeU32(out.data() + 8, kContainerFlags);
    storeU32(out.data() + 12, static_cast<std::uint32_t>(size));
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
