// The streaming solid-colour writer against the route through a black bitmap,
// its image and writeTga: the same bytes, for sizes with short, full and
// split packets.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "document/tga_decoder.h"
#include "document/tga_writer.h"
#include "util/bitmap_helpers.h"

namespace yfx {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes readBack(std::FILE* f) {
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

// A black image made the long way: bitmap, image, rows turned bottom-up, TGA.
Bytes blackThroughBitmap(std::int32_t w, std::int32_t h) {
    DibHandle bitmap = makeBlackBitmap(w, h);
    EXPECT_NE(bitmap, nullptr);
    RgbImage image;
    EXPECT_EQ(bitmapToRgbImage(bitmap, image), 1);
    deleteDib(bitmap);
    EXPECT_EQ(flipRowsVertically(image.pixels, image.rowBytes, image.height), 1);
    std::FILE* f = std::tmpfile();
    EXPECT_NE(f, nullptr);
    EXPECT_EQ(writeTga(f, &image), 1);
    std::free(image.pixels);
    return readBack(f);
}

Bytes solid(std::uint32_t w, std::uint32_t h, unsigned char r, unsigned char g, unsigned char b,
            int* result) {
    std::FILE* f = std::tmpfile();
    EXPECT_NE(f, nullptr);
    *result = writeSolidTga(f, w, h, r, g, b);
    return readBack(f);
}

TEST(TgaSolid, BlackMatchesTheBitmapRoute) {
    const struct {
        std::int32_t w, h;
    } sizes[] = {{1, 1}, {2, 1}, {128, 2}, {129, 3}, {256, 1}, {300, 7}};
    for (const auto& size : sizes) {
        int result = 0;
        const Bytes streamed = solid(static_cast<std::uint32_t>(size.w),
                                     static_cast<std::uint32_t>(size.h), 0, 0, 0, &result);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(streamed, blackThroughBitmap(size.w, size.h)) << size.w << "x" << size.h;
    }
}

TEST(TgaSolid, ColourIsStoredBlueGreenRed) {
    int result = 0;
    const Bytes file = solid(130, 2, 10, 20, 30, &result);
    ASSERT_EQ(result, 1);
    const tgatest::Decoded d = tgatest::decodeTga(file);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 130u);
    EXPECT_EQ(d.height, 2u);
    EXPECT_EQ(d.depth, 24u);
    Bytes expected;
    for (int i = 0; i < 130 * 2; ++i) {
        expected.insert(expected.end(), {30, 20, 10});
    }
    EXPECT_EQ(d.pixels, expected);
}

TEST(TgaSolid, RefusedAndEmptySizes) {
    int result = 1;
    EXPECT_EQ(writeSolidTga(nullptr, 4, 4, 0, 0, 0), 0);
    EXPECT_EQ(solid(65536, 1, 0, 0, 0, &result).size(), 0u); // refused before the header
    EXPECT_EQ(result, 0);
    EXPECT_EQ(solid(1, 65536, 0, 0, 0, &result).size(), 0u);
    EXPECT_EQ(result, 0);
    // A placeholder of 16384 x 16384: 128 runs of 128 pixels per row.
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(writeSolidTga(f, 16384, 16384, 0, 0, 0), 1);
    EXPECT_EQ(std::ftell(f), 18L + 16384L * 128 * 4);
    std::fclose(f);
    EXPECT_EQ(solid(65535, 1, 0, 0, 0, &result).size(), 18u + 512 * 4);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(solid(0, 5, 0, 0, 0, &result).size(), 18u);
    EXPECT_EQ(result, 1);
}

} // namespace
} // namespace yfx
