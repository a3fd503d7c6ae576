// The run-length encoder packet by packet, and whole files decoded back with
// a decoder of the test's own (header, packets, rows).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "document/tga_decoder.h"
#include "document/tga_writer.h"

namespace yfx {
namespace {

using Bytes = std::vector<unsigned char>;

// Pixels of 3 bytes named by one letter each: 'A' is (A, A+1, A+2).
Bytes pixels(const char* names) {
    Bytes out;
    for (const char* p = names; *p != 0; ++p) {
        out.push_back(static_cast<unsigned char>(*p));
        out.push_back(static_cast<unsigned char>(*p + 1));
        out.push_back(static_cast<unsigned char>(*p + 2));
    }
    return out;
}

Bytes encode(const Bytes& px, std::size_t bytesPerPixel = 3) {
    Bytes out;
    encodeTgaRow(px.data(), px.size() / bytesPerPixel, bytesPerPixel, out);
    return out;
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

Bytes header(unsigned char h) {
    return Bytes{h};
}

TEST(TgaRow, ShortRowsFromTheExamples) {
    EXPECT_EQ(encode(pixels("AAB")), cat({header(129), pixels("A"), header(0), pixels("B")}));
    EXPECT_EQ(encode(pixels("ABB")), cat({header(0), pixels("A"), header(129), pixels("B")}));
    EXPECT_EQ(encode(pixels("AAAAA")), cat({header(132), pixels("A")}));
    EXPECT_EQ(encode(pixels("A")), cat({header(0), pixels("A")}));
    EXPECT_EQ(encode(pixels("AB")), cat({header(1), pixels("AB")}));
    EXPECT_EQ(encode(pixels("AA")), cat({header(129), pixels("A")}));
    EXPECT_EQ(encode(pixels("ABCCCDE")),
              cat({header(1), pixels("AB"), header(130), pixels("C"), header(1), pixels("DE")}));
    EXPECT_TRUE(encode(Bytes{}).empty());
}

TEST(TgaRow, PacketsStopAt128Pixels) {
    std::string same(130, 'A');
    EXPECT_EQ(encode(pixels(same.c_str())),
              cat({header(255), pixels("A"), header(129), pixels("A")}));

    std::string exactly(128, 'A');
    EXPECT_EQ(encode(pixels(exactly.c_str())), cat({header(255), pixels("A")}));

    std::string longer(129, 'A');
    EXPECT_EQ(encode(pixels(longer.c_str())),
              cat({header(255), pixels("A"), header(0), pixels("A")}));

    // 129 pixels each unlike its neighbour: one full raw packet, then one pixel.
    std::string alternating;
    for (int i = 0; i < 129; ++i) {
        alternating += (i % 2 == 0) ? 'A' : 'E';
    }
    const Bytes px = pixels(alternating.c_str());
    Bytes expected = header(127);
    expected.insert(expected.end(), px.begin(), px.begin() + 128 * 3);
    expected.push_back(0);
    expected.insert(expected.end(), px.end() - 3, px.end());
    EXPECT_EQ(encode(px), expected);
}

TEST(TgaRow, ThirtyTwoBitPixelsCompareAllFourBytes) {
    // Equal colour, different alpha: not a run.
    const Bytes px = {1, 2, 3, 9, 1, 2, 3, 8, 1, 2, 3, 8};
    EXPECT_EQ(encode(px, 4), (Bytes{0, 1, 2, 3, 9, 129, 1, 2, 3, 8}));
}

using tgatest::Decoded;
using tgatest::decodeTga;

Bytes writeToMemory(const RgbImage& image, int* result) {
    std::FILE* f = std::tmpfile();
    EXPECT_NE(f, nullptr);
    *result = writeTga(f, &image);
    Bytes out;
    std::fflush(f);
    std::rewind(f);
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        out.push_back(static_cast<unsigned char>(c));
    }
    std::fclose(f);
    return out;
}

struct TestImage {
    RgbImage image;
    Bytes storage;
};

// A w x h image with rowPadding bytes after each row; pixel values follow a
// pattern with runs and changes, so both packet kinds occur.
TestImage makeImage(unsigned w, unsigned h, unsigned depth, unsigned padding) {
    TestImage t;
    const unsigned bpp = depth / 8;
    t.storage.assign(std::size_t(w * bpp + padding) * h, 0xEE);
    for (unsigned y = 0; y < h; ++y) {
        for (unsigned x = 0; x < w; ++x) {
            unsigned char* p = &t.storage[std::size_t(y) * (w * bpp + padding) + x * bpp];
            const unsigned v = (x / 3 + y * 7 + (x % 11 == 0 ? 5 : 0)) & 0xFF;
            p[0] = static_cast<unsigned char>(v);
            p[1] = static_cast<unsigned char>(v * 3);
            p[2] = static_cast<unsigned char>(255 - v);
            if (bpp == 4) {
                p[3] = static_cast<unsigned char>(x & 1 ? 200 : 100);
            }
        }
    }
    t.image.width = w;
    t.image.height = h;
    t.image.bitsPerPixel = depth;
    t.image.rowPadding = padding;
    t.image.byteSize = static_cast<std::uint32_t>(t.storage.size());
    t.image.rowBytes = w * bpp + padding;
    t.image.pixels = t.storage.data();
    return t;
}

// The pixels a reader of the file must see: rows in memory order, R and B swapped.
Bytes expectedPixels(const TestImage& t, unsigned rows) {
    const unsigned bpp = t.image.bitsPerPixel / 8;
    Bytes out;
    for (unsigned y = 0; y < rows; ++y) {
        for (unsigned x = 0; x < t.image.width; ++x) {
            const unsigned char* p =
                &t.storage[std::size_t(y) * t.image.rowBytes + std::size_t(x) * bpp];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            if (bpp == 4) {
                out.push_back(p[3]);
            }
        }
    }
    return out;
}

TEST(TgaFile, DecodesToTheImageRowsInMemoryOrder) {
    for (unsigned depth : {24u, 32u}) {
        for (unsigned width : {1u, 2u, 129u, 300u}) {
            const std::string what =
                "depth " + std::to_string(depth) + " width " + std::to_string(width);
            TestImage t = makeImage(width, 5, depth, depth == 24 ? 2 : 0);
            int result = 0;
            const Decoded d = decodeTga(writeToMemory(t.image, &result));
            ASSERT_EQ(result, 1) << what;
            ASSERT_TRUE(d.ok) << what;
            EXPECT_EQ(d.width, width) << what;
            EXPECT_EQ(d.height, 5u) << what;
            EXPECT_EQ(d.depth, depth) << what;
            EXPECT_EQ(d.pixels, expectedPixels(t, 5)) << what;
        }
    }
}

TEST(TgaFile, BlackPlaceholderIsOneRunPerRow) {
    TestImage t = makeImage(256, 4, 24, 0);
    std::fill(t.storage.begin(), t.storage.end(), 0);
    int result = 0;
    const Bytes file = writeToMemory(t.image, &result);
    ASSERT_EQ(result, 1);
    // Per row: two full runs of 128 black pixels, 4 bytes each.
    EXPECT_EQ(file.size(), 18u + 4 * 2 * 4);
    const Decoded d = decodeTga(file);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.packets, 4u * 2);
    EXPECT_EQ(d.pixels, Bytes(256 * 4 * 3, 0));
}

TEST(TgaFile, RowsOutsideThePixelBytesAreNotRead) {
    // The byte size covers two and a half rows: the header still gives four,
    // and the data holds the first two, whole.
    TestImage t = makeImage(10, 4, 24, 0);
    t.image.byteSize = 10 * 3 * 2 + 15;
    int result = 0;
    const Decoded d = decodeTga(writeToMemory(t.image, &result));
    EXPECT_EQ(result, 1);
    ASSERT_TRUE(d.well_formed);
    EXPECT_EQ(d.height, 4u);
    EXPECT_EQ(d.rows, 2u);
    EXPECT_EQ(d.pixels, expectedPixels(t, 2));
}

TEST(TgaFile, RefusedInputs) {
    TestImage t = makeImage(4, 4, 24, 0);
    EXPECT_EQ(writeTga(nullptr, &t.image), 0);
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(writeTga(f, nullptr), 0);
    RgbImage sixteen = t.image;
    sixteen.bitsPerPixel = 16;
    EXPECT_EQ(writeTga(f, &sixteen), 0);
    RgbImage wide = t.image;
    wide.width = 70000;
    EXPECT_EQ(writeTga(f, &wide), 0);
    EXPECT_EQ(std::ftell(f), 0L); // refused before anything was written
    RgbImage empty = t.image;
    empty.width = 0;
    EXPECT_EQ(writeTga(f, &empty), 1);
    EXPECT_EQ(std::ftell(f), 18L);
    std::fclose(f);
}

TEST(TgaFile, FailedWritesAreReported) {
    TestImage t = makeImage(8, 8, 24, 0);
    // A stream open for reading only refuses the header.
    const std::string name = ::testing::TempDir() + "yfx_tga_readonly.bin";
    std::FILE* w = std::fopen(name.c_str(), "wb");
    ASSERT_NE(w, nullptr);
    std::fclose(w);
    std::FILE* r = std::fopen(name.c_str(), "rb");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(writeTga(r, &t.image), 0);
    std::fclose(r);
    std::remove(name.c_str());

#if defined(__unix__) || defined(__APPLE__)
    // Room for the header and a few bytes more: the pixel rows fail.
    char buffer[24];
    std::FILE* small = fmemopen(buffer, sizeof buffer, "wb");
    ASSERT_NE(small, nullptr);
    std::setvbuf(small, nullptr, _IONBF, 0);
    EXPECT_EQ(writeTga(small, &t.image), 0);
    std::fclose(small);
#endif
}

} // namespace
} // namespace yfx
