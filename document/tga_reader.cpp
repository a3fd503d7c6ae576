#include "document/tga_reader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <utility>

namespace yfx {

namespace {

constexpr std::size_t kHeaderSize = 18;
constexpr unsigned kMaxPacketPixels = 128;

// The header fields the decoder needs beyond TgaInfo.
struct Layout {
    TgaInfo info;
    std::size_t dataOffset = 0;
    std::size_t pixelBytes = 0;
    bool runLength = false;
    bool topDown = false;
    bool rightToLeft = false;
};

unsigned u16(const std::uint8_t* p) {
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

std::string text(std::uint64_t n) {
    return std::to_string(n);
}

std::string sizeText(const TgaInfo& info) {
    return text(std::uint64_t(info.width)) + " x " + text(std::uint64_t(info.height));
}

bool parse(const std::uint8_t* bytes, std::size_t size, Layout& out, std::string& error) {
    if (bytes == nullptr || size < kHeaderSize) {
        error = "the file is shorter than a TGA header (" + text(size) + " of 18 bytes)";
        return false;
    }
    const unsigned idLength = bytes[0];
    const unsigned colourMapType = bytes[1];
    const int type = bytes[2];
    const unsigned mapLength = u16(bytes + 5);
    const unsigned mapEntryBits = bytes[7];
    TgaInfo& info = out.info;
    info.imageType = type;
    info.width = int(u16(bytes + 12));
    info.height = int(u16(bytes + 14));
    info.bitsPerPixel = bytes[16];
    const unsigned descriptor = bytes[17];
    if (colourMapType > 1) {
        error = "the TGA header names colour map type " + text(colourMapType) + " (0 or 1)";
        return false;
    }
    const bool colour = type == 2 || type == 10;
    const bool grey = type == 3 || type == 11;
    if (type == 1 || type == 9) {
        error = "colour-mapped TGA images (type " + text(std::uint64_t(type)) +
                ") are not read, only true-colour and grey ones";
        return false;
    }
    if (!colour && !grey) {
        error = "TGA image type " + text(std::uint64_t(type)) +
                " is not read (true-colour 2 and 10, grey 3 and 11)";
        return false;
    }
    const int bits = info.bitsPerPixel;
    if (colour ? !(bits == 15 || bits == 16 || bits == 24 || bits == 32) : bits != 8) {
        error = "a " + text(std::uint64_t(bits)) + "-bit " + (colour ? "true-colour" : "grey") +
                " TGA image is not read (true-colour 15, 16, 24 or 32 bits, grey 8 bits)";
        return false;
    }
    if (info.width == 0 || info.height == 0) {
        error = "the TGA header gives an empty image (" + sizeText(info) + ")";
        return false;
    }
    const std::size_t mapBytes =
        colourMapType == 1 ? std::size_t(mapLength) * ((mapEntryBits + 7) / 8) : 0;
    out.dataOffset = kHeaderSize + idLength + mapBytes;
    if (out.dataOffset > size) {
        error = "the TGA image's ID field and colour map run past the end of the file (" +
                text(out.dataOffset) + " of " + text(size) + " bytes)";
        return false;
    }
    out.pixelBytes = std::size_t(bits + 7) / 8;
    out.runLength = type >= 9;
    out.topDown = (descriptor & 0x20) != 0;
    out.rightToLeft = (descriptor & 0x10) != 0;
    return true;
}

// One pixel of the file (B, G, R(, A), 5-5-5 or grey) as R, G, B, A.
void toRgba(const std::uint8_t* p, int bits, std::uint8_t* out) {
    switch (bits) {
    case 8:
        out[0] = out[1] = out[2] = p[0];
        out[3] = 255;
        return;
    case 15:
    case 16: {
        const unsigned v = u16(p);
        const auto expand = [](unsigned x) { return std::uint8_t((x << 3) | (x >> 2)); };
        out[0] = expand((v >> 10) & 31);
        out[1] = expand((v >> 5) & 31);
        out[2] = expand(v & 31);
        out[3] = 255;
        return;
    }
    default:
        out[0] = p[2];
        out[1] = p[1];
        out[2] = p[0];
        out[3] = bits == 32 ? p[3] : 255;
        return;
    }
}

// The pixels in file order: row after row as stored, each row as stored.
bool decodePixels(const std::uint8_t* bytes, std::size_t size, const Layout& layout,
                  std::uint64_t count, std::uint8_t* out, std::string& error) {
    const int bits = layout.info.bitsPerPixel;
    const std::size_t pb = layout.pixelBytes;
    std::size_t at = layout.dataOffset;
    if (!layout.runLength) { // the caller checked that all pixels are present
        for (std::uint64_t i = 0; i < count; ++i, at += pb, out += 4) {
            toRgba(bytes + at, bits, out);
        }
        return true;
    }
    std::uint64_t done = 0;
    while (done < count) {
        if (at >= size) {
            error =
                "the run-length data ends after " + text(done) + " of " + text(count) + " pixels";
            return false;
        }
        const std::size_t packetAt = at;
        const unsigned header = bytes[at++];
        const unsigned n = (header & 0x7F) + 1;
        if (n > count - done) {
            error = "the run-length packet at byte " + text(packetAt) + " (" + text(n) +
                    " pixels) runs past the last pixel of the " + sizeText(layout.info) + " image";
            return false;
        }
        const std::size_t need = (header & 0x80) != 0 ? pb : std::size_t(n) * pb;
        if (size - at < need) {
            error = "the run-length packet at byte " + text(packetAt) + " is cut short (" +
                    text(size - at) + " of " + text(need) + " bytes)";
            return false;
        }
        if ((header & 0x80) != 0) {
            std::uint8_t rgba[4];
            toRgba(bytes + at, bits, rgba);
            for (unsigned i = 0; i < n; ++i, out += 4) {
                std::copy(rgba, rgba + 4, out);
            }
        } else {
            for (unsigned i = 0; i < n; ++i, out += 4) {
                toRgba(bytes + at + std::size_t(i) * pb, bits, out);
            }
        }
        at += need;
        done += n;
    }
    return true;
}

// File order to rows top to bottom, left to right.
void reorder(RgbaImage& image, bool topDown, bool rightToLeft) {
    const std::size_t rowBytes = std::size_t(image.width) * 4;
    if (!topDown) {
        for (int y = 0; y < image.height / 2; ++y) {
            std::swap_ranges(image.at(0, y), image.at(0, y) + rowBytes,
                             image.at(0, image.height - 1 - y));
        }
    }
    if (rightToLeft) {
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width / 2; ++x) {
                std::swap_ranges(image.at(x, y), image.at(x, y) + 4,
                                 image.at(image.width - 1 - x, y));
            }
        }
    }
}

} // namespace

bool readTgaHeader(const std::uint8_t* bytes, std::size_t size, TgaInfo& info, std::string& error) {
    Layout layout;
    if (!parse(bytes, size, layout, error)) {
        return false;
    }
    info = layout.info;
    return true;
}

bool decodeTga(const std::uint8_t* bytes, std::size_t size, RgbaImage& image, std::string& error) {
    image = RgbaImage();
    Layout layout;
    if (!parse(bytes, size, layout, error)) {
        return false;
    }
    const std::uint64_t count =
        std::uint64_t(layout.info.width) * std::uint64_t(layout.info.height);
    const std::uint64_t available = size - layout.dataOffset;
    const std::uint64_t pb = layout.pixelBytes;
    // What the smallest encoding of `count` pixels takes: every pixel stored,
    // or for run-length data one full repeat packet per 128 pixels.
    const std::uint64_t least = layout.runLength
                                    ? (count + kMaxPacketPixels - 1) / kMaxPacketPixels * (1 + pb)
                                    : count * pb;
    if (available < least) {
        error = "the pixel data is cut short: a " + sizeText(layout.info) + " image needs " +
                (layout.runLength ? "at least " : "") + text(least) + " bytes, the file holds " +
                text(available);
        return false;
    }
    if (count > std::numeric_limits<std::size_t>::max() / 4) {
        error = "a " + sizeText(layout.info) + " image is too large for this build";
        return false;
    }
    RgbaImage out;
    try {
        out.pixels.resize(std::size_t(count) * 4);
    } catch (const std::bad_alloc&) {
        error = "not enough memory for a " + sizeText(layout.info) + " image";
        return false;
    }
    out.width = layout.info.width;
    out.height = layout.info.height;
    if (!decodePixels(bytes, size, layout, count, out.pixels.data(), error)) {
        return false;
    }
    reorder(out, layout.topDown, layout.rightToLeft);
    image = std::move(out);
    return true;
}

} // namespace yfx
