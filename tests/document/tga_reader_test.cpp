// The TGA decoder on hand-made files of every type, depth and origin it
// reads, on hostile headers and data, and on what the writer writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "document/tga_reader.h"
#include "document/tga_writer.h"

namespace yfx {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Header {
    std::uint8_t type = 2;
    unsigned width = 2;
    unsigned height = 2;
    std::uint8_t bits = 24;
    std::uint8_t descriptor = 0;
    std::uint8_t idLength = 0;
    std::uint8_t mapType = 0;
    unsigned mapLength = 0;
    std::uint8_t mapBits = 0;
};

Bytes file(const Header& h, const Bytes& data) {
    Bytes out = {h.idLength,
                 h.mapType,
                 h.type,
                 0,
                 0,
                 std::uint8_t(h.mapLength),
                 std::uint8_t(h.mapLength >> 8),
                 h.mapBits,
                 0,
                 0,
                 0,
                 0,
                 std::uint8_t(h.width),
                 std::uint8_t(h.width >> 8),
                 std::uint8_t(h.height),
                 std::uint8_t(h.height >> 8),
                 h.bits,
                 h.descriptor};
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// File pixels B, G, R(, A) of the colours used below.
const Bytes kRed = {0, 0, 255}, kGreen = {0, 255, 0}, kBlue = {255, 0, 0}, kWhite = {255, 255, 255};
const Bytes kRedA = {0, 0, 255, 10}, kGreenA = {0, 255, 0, 20}, kBlueA = {255, 0, 0, 30},
            kWhiteA = {255, 255, 255, 40};
// The same as R, G, B, A.
const Bytes r = {255, 0, 0, 255}, g = {0, 255, 0, 255}, b = {0, 0, 255, 255},
            w = {255, 255, 255, 255};

Bytes repeat(const Bytes& pixel, int n) {
    Bytes out;
    for (int i = 0; i < n; ++i) {
        out = out + pixel;
    }
    return out;
}

Header with(std::uint8_t type, std::uint8_t bits, std::uint8_t descriptor = 0) {
    Header h;
    h.type = type;
    h.bits = bits;
    h.descriptor = descriptor;
    return h;
}

struct Good {
    const char* name;
    Bytes bytes;
    Bytes rgba; // rows top to bottom
};

TEST(TgaReader, DecodesEveryTypeDepthAndOrigin) {
    Header idAndMap = with(2, 24);
    idAndMap.idLength = 3;
    idAndMap.mapType = 1;
    idAndMap.mapLength = 2;
    idAndMap.mapBits = 24;
    Header wide = with(10, 24, 0x20);
    wide.width = 130;
    wide.height = 1;
    const std::vector<Good> cases = {
        // Bottom-left origin: the first row stored is the picture's bottom row.
        {"plain 24-bit bottom-up", file(with(2, 24), kRed + kGreen + kBlue + kWhite),
         b + w + r + g},
        {"plain 24-bit top-down", file(with(2, 24, 0x20), kRed + kGreen + kBlue + kWhite),
         r + g + b + w},
        {"plain 32-bit keeps alpha", file(with(2, 32, 0x28), kRedA + kGreenA + kBlueA + kWhiteA),
         Bytes{255, 0, 0, 10, 0, 255, 0, 20, 0, 0, 255, 30, 255, 255, 255, 40}},
        {"plain right-to-left", file(with(2, 24, 0x30), kRed + kGreen + kBlue + kWhite),
         g + r + w + b},
        {"ID field and colour map skipped",
         file(idAndMap, Bytes(3 + 6, 7) + kRed + kRed + kRed + kRed), r + r + r + r},
        // A repeat packet of 3, then a raw packet of 1; packets may cross rows.
        {"run-length 24-bit bottom-up", file(with(10, 24), Bytes{130} + kRed + Bytes{0} + kBlue),
         r + b + r + r},
        {"run-length 32-bit top-down",
         file(with(10, 32, 0x28), Bytes{1} + kRedA + kGreenA + Bytes{129} + kBlueA),
         Bytes{255, 0, 0, 10, 0, 255, 0, 20, 0, 0, 255, 30, 0, 0, 255, 30}},
        {"run-length longest packet",
         file(wide, Bytes{255} + kRed + Bytes{128} + kRed + Bytes{0} + kGreen), repeat(r, 129) + g},
        {"grey plain", file(with(3, 8, 0x20), Bytes{0, 100, 200, 255}),
         Bytes{0, 0, 0, 255, 100, 100, 100, 255, 200, 200, 200, 255, 255, 255, 255, 255}},
        {"grey run-length", file(with(11, 8, 0x20), Bytes{131, 50}), repeat({50, 50, 50, 255}, 4)},
        // 5-5-5: red 31, green 16, blue 0 -> 255, 132, 0.
        {"16-bit", file(with(2, 16, 0x20), repeat({0x00, 0x7E}, 4)), repeat({255, 132, 0, 255}, 4)},
    };
    for (const Good& c : cases) {
        RgbaImage image;
        std::string error;
        const bool ok = decodeTga(c.bytes.data(), c.bytes.size(), image, error);
        ASSERT_TRUE(ok) << c.name << ": " << error;
        EXPECT_EQ(image.pixels, c.rgba) << c.name;
        EXPECT_EQ(std::size_t(image.width) * std::size_t(image.height) * 4, image.pixels.size())
            << c.name;
    }
}

struct Bad {
    const char* name;
    Bytes bytes;
    const char* reason; // a piece of the error text
};

TEST(TgaReader, RefusesHostileAndUnsupportedFilesWithAReason) {
    Header huge = with(2, 32);
    huge.width = 65535;
    huge.height = 65535;
    Header hugeRle = huge;
    hugeRle.type = 10;
    Header idPastEnd = with(2, 24);
    idPastEnd.idLength = 200;
    Header mapPastEnd = idPastEnd;
    mapPastEnd.idLength = 0;
    mapPastEnd.mapType = 1;
    mapPastEnd.mapLength = 65535;
    mapPastEnd.mapBits = 32;
    Header empty = with(2, 24);
    empty.width = 0;
    const std::vector<Bad> cases = {
        {"no bytes", Bytes{}, "shorter than a TGA header"},
        {"cut header", Bytes(17, 0), "shorter than a TGA header"},
        {"colour-mapped", file(with(1, 8), Bytes(4, 0)), "colour-mapped"},
        {"unknown type", file(with(32, 24), Bytes(12, 0)), "type 32"},
        {"unknown map type",
         file(
             [] {
                 Header h = with(2, 24);
                 h.mapType = 2;
                 return h;
             }(),
             Bytes(12, 0)),
         "colour map type 2"},
        {"8-bit true colour", file(with(2, 8), Bytes(4, 0)), "8-bit true-colour"},
        {"24-bit grey", file(with(3, 24), Bytes(12, 0)), "24-bit grey"},
        {"empty image", file(empty, Bytes{}), "empty image"},
        {"ID past the end", file(idPastEnd, Bytes(12, 0)), "past the end"},
        {"colour map past the end", file(mapPastEnd, Bytes(12, 0)), "past the end"},
        // Sizes the bytes cannot hold are refused before anything is allocated.
        {"huge plain", file(huge, Bytes(100, 0)), "cut short"},
        {"huge run-length", file(hugeRle, Bytes(100, 0x80)), "cut short"},
        {"plain one byte short", file(with(2, 24), Bytes(11, 0)), "cut short"},
        {"raw packet cut", file(with(10, 24), Bytes{3} + kRed + kRed), "packet at byte 18"},
        {"repeat packet cut", file(with(10, 32), Bytes{131, 1, 2}), "cut short"},
        {"packet past the last pixel", file(with(10, 24), Bytes{129} + kRed + Bytes{130} + kRed),
         "runs past the last pixel"},
        {"data ends early", file(with(10, 24), Bytes{129} + kRed), "ends after 2 of 4 pixels"},
    };
    for (const Bad& c : cases) {
        RgbaImage image;
        image.width = 1; // refused input leaves the image empty
        std::string error;
        EXPECT_FALSE(decodeTga(c.bytes.data(), c.bytes.size(), image, error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_TRUE(image.empty()) << c.name;
    }
}

// What the writer writes (rows in memory order, the first at the bottom)
// decodes back to the picture upside up.
TEST(TgaReader, ReadsWhatTheWriterWrites) {
    for (unsigned depth : {24u, 32u}) {
        const unsigned width = 300, height = 7, pb = depth / 8;
        Bytes pixels(std::size_t(width) * height * pb);
        for (unsigned y = 0; y < height; ++y) {
            for (unsigned x = 0; x < width; ++x) {
                std::uint8_t* p = &pixels[(std::size_t(y) * width + x) * pb];
                p[0] = std::uint8_t(x < 200 ? y * 30 : x); // runs longer than a packet
                p[1] = std::uint8_t(y);
                p[2] = std::uint8_t(x / 3);
                if (pb == 4) {
                    p[3] = std::uint8_t(x & 1 ? 9 : 200);
                }
            }
        }
        RgbImage source;
        source.width = width;
        source.height = height;
        source.bitsPerPixel = depth;
        source.rowBytes = width * pb;
        source.byteSize = std::uint32_t(pixels.size());
        source.pixels = pixels.data();
        std::FILE* f = std::tmpfile();
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(writeTga(f, &source), 1);
        Bytes bytes(std::size_t(std::ftell(f)));
        std::rewind(f);
        ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
        std::fclose(f);

        RgbaImage image;
        std::string error;
        ASSERT_TRUE(decodeTga(bytes.data(), bytes.size(), image, error)) << error;
        ASSERT_EQ(image.width, int(width));
        ASSERT_EQ(image.height, int(height));
        for (unsigned y = 0; y < height; ++y) {
            for (unsigned x = 0; x < width; ++x) {
                const std::uint8_t* p = &pixels[(std::size_t(height - 1 - y) * width + x) * pb];
                const Bytes want = {p[0], p[1], p[2], std::uint8_t(pb == 4 ? p[3] : 255)};
                const std::uint8_t* got = image.at(int(x), int(y));
                ASSERT_EQ(Bytes(got, got + 4), want) << depth << "-bit at " << x << ", " << y;
            }
        }
    }
}

} // namespace
} // namespace yfx
