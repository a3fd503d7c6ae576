#include "document/tga_writer.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace yfx {

namespace {

constexpr std::size_t kMaxPacketPixels = 128;

bool samePixel(const unsigned char* a, const unsigned char* b, std::size_t bytes) {
    return std::memcmp(a, b, bytes) == 0;
}

void putRaw(std::vector<unsigned char>& out, const unsigned char* first, std::size_t count,
            std::size_t bytes) {
    out.push_back(static_cast<unsigned char>(count - 1));
    out.insert(out.end(), first, first + count * bytes);
}

void putRun(std::vector<unsigned char>& out, const unsigned char* pixel, std::size_t count,
            std::size_t bytes) {
    out.push_back(static_cast<unsigned char>(127 + count));
    out.insert(out.end(), pixel, pixel + bytes);
}

bool putU8(std::FILE* stream, unsigned value) {
    const unsigned char b = static_cast<unsigned char>(value);
    return std::fwrite(&b, 1, 1, stream) == 1;
}

bool putU16(std::FILE* stream, unsigned value) {
    const unsigned char b[2] = {static_cast<unsigned char>(value & 0xFF),
                                static_cast<unsigned char>((value >> 8) & 0xFF)};
    return std::fwrite(b, 1, 2, stream) == 2;
}

bool writeHeader(std::FILE* stream, std::uint32_t width, std::uint32_t height,
                 std::uint32_t depth) {
    return putU8(stream, 0)          // ID length
           && putU8(stream, 0)       // colour map type
           && putU8(stream, 10)      // run-length encoded true colour
           && putU16(stream, 0)      // colour map first index
           && putU16(stream, 0)      // colour map length
           && putU8(stream, 0)       // colour map entry size
           && putU16(stream, 0)      // x origin
           && putU16(stream, 0)      // y origin
           && putU16(stream, width)  // width
           && putU16(stream, height) // height
           && putU8(stream, depth)   // pixel depth
           && putU8(stream, 0);      // image descriptor
}

} // namespace

void encodeTgaRow(const unsigned char* pixels, std::size_t n, std::size_t bytes,
                  std::vector<unsigned char>& out) {
    if (n == 0) {
        return;
    }
    if (n < 2) {
        putRaw(out, pixels, 1, bytes);
        return;
    }
    // start: first pixel of the pending packet; run: equal neighbour pairs of
    // a pending run; raw: unequal pairs of a pending raw stretch.
    std::size_t start = 0;
    std::size_t run = 0;
    std::size_t raw = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const bool equal = samePixel(pixels + i * bytes, pixels + (i + 1) * bytes, bytes);
        if (!equal) {
            if (run > 0) {
                putRun(out, pixels + start * bytes, run + 1, bytes);
                start = i + 1;
                run = 0;
                raw = 0;
            } else if (++raw == kMaxPacketPixels) {
                putRaw(out, pixels + start * bytes, kMaxPacketPixels, bytes);
                start = i + 1;
                raw = 0;
            }
        } else if (raw > 0) {
            putRaw(out, pixels + start * bytes, raw, bytes);
            start = i;
            run = 1;
            raw = 0;
        } else if (++run == kMaxPacketPixels) {
            putRun(out, pixels + start * bytes, kMaxPacketPixels, bytes);
            start = i + 1;
            run = 0;
        }
    }
    if (run > 0) {
        putRun(out, pixels + start * bytes, run + 1, bytes);
    } else {
        putRaw(out, pixels + start * bytes, raw + 1, bytes);
    }
}

int writeTga(std::FILE* stream, const RgbImage* image) {
    if (stream == nullptr || image == nullptr) {
        return 0;
    }
    const std::uint32_t depth = image->bitsPerPixel;
    if ((depth != 24 && depth != 32) || image->width > 0xFFFF || image->height > 0xFFFF) {
        return 0;
    }
    if (!writeHeader(stream, image->width, image->height, depth)) {
        return 0;
    }
    const std::size_t bytes = depth / 8;
    const std::size_t rowBytes = std::size_t(image->width) * bytes;
    if (rowBytes == 0 || image->pixels == nullptr) {
        return 1;
    }
    try {
        std::vector<unsigned char> row(rowBytes);
        std::vector<unsigned char> packets;
        packets.reserve(rowBytes + rowBytes / kMaxPacketPixels + 2);
        const std::uint64_t total = image->byteSize;
        std::uint64_t offset = 0;
        for (std::uint32_t y = 0; y < image->height; ++y) {
            // Only rows that lie wholly inside the pixel bytes are written.
            if (offset + rowBytes > total) {
                break;
            }
            const unsigned char* src = image->pixels + offset;
            for (std::size_t p = 0; p < rowBytes; p += bytes) {
                row[p] = src[p + 2];
                row[p + 1] = src[p + 1];
                row[p + 2] = src[p];
                if (bytes == 4) {
                    row[p + 3] = src[p + 3];
                }
            }
            packets.clear();
            encodeTgaRow(row.data(), image->width, bytes, packets);
            if (std::fwrite(packets.data(), 1, packets.size(), stream) != packets.size()) {
                return 0;
            }
            offset += rowBytes + image->rowPadding;
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int writeSolidTga(std::FILE* stream, std::uint32_t width, std::uint32_t height, unsigned char red,
                  unsigned char green, unsigned char blue) {
    if (stream == nullptr || width > 0xFFFF || height > 0xFFFF) {
        return 0;
    }
    if (!writeHeader(stream, width, height, 24)) {
        return 0;
    }
    if (width == 0 || height == 0) {
        return 1;
    }
    try {
        // Every row is the same, so its packets are too: a solid row of w
        // pixels is a few bytes, whatever the height.
        std::vector<unsigned char> row(std::size_t(width) * 3);
        for (std::size_t p = 0; p < row.size(); p += 3) {
            row[p] = blue; // file order B, G, R
            row[p + 1] = green;
            row[p + 2] = red;
        }
        std::vector<unsigned char> packets;
        encodeTgaRow(row.data(), width, 3, packets);
        for (std::uint32_t y = 0; y < height; ++y) {
            if (std::fwrite(packets.data(), 1, packets.size(), stream) != packets.size()) {
                return 0;
            }
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

} // namespace yfx
