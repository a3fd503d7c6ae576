// Black bitmaps, row flips and the bitmap-to-image conversion over the DIB layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/dib_bitmap.h"
#include "util/bitmap_helpers.h"

using yfx::DibHandle;
using yfx::DibInfo;
using yfx::RgbImage;

namespace {

// Owns a bitmap for the length of a test.
struct Bitmap {
    DibHandle handle;
    explicit Bitmap(DibHandle h) : handle(h) {}
    ~Bitmap() { yfx::deleteDib(handle); }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
};

unsigned char* bitsOf(DibHandle bitmap, DibInfo& info) {
    EXPECT_EQ(yfx::describeDib(bitmap, info), 1);
    return static_cast<unsigned char*>(info.bits);
}

} // namespace

TEST(DibBitmap, SectionIsPaddedBottomUpAndDescribed) {
    Bitmap bmp(yfx::createDibSection(5, 3, 24));
    ASSERT_NE(bmp.handle, nullptr);
    DibInfo info;
    ASSERT_NE(bitsOf(bmp.handle, info), nullptr);
    EXPECT_EQ(info.width, 5);
    EXPECT_EQ(info.height, 3);
    EXPECT_EQ(info.bitsPerPixel, 24);
    EXPECT_EQ(info.rowStride, 16); // 15 bytes rounded up to 4
    EXPECT_EQ(yfx::dibRowStride(1, 24), 4);
    EXPECT_EQ(yfx::dibRowStride(3, 32), 12);
    EXPECT_EQ(yfx::dibRowStride(-1, 24), -1);
    EXPECT_EQ(yfx::createDibSection(-1, 3, 24), nullptr);
    EXPECT_EQ(yfx::createDibSection(4, 4, 8), nullptr);
    EXPECT_EQ(yfx::createDibSection(0x7fffffff, 0x7fffffff, 24), nullptr);
}

TEST(BitmapHelpers, BlackBitmapIsBlackEverywhere) {
    Bitmap bmp(yfx::makeBlackBitmap(7, 5));
    ASSERT_NE(bmp.handle, nullptr);
    DibInfo info;
    const unsigned char* bits = bitsOf(bmp.handle, info);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(info.bitsPerPixel, 24);
    for (int r = 0; r < info.height; ++r) {
        for (int x = 0; x < info.width * 3; ++x) {
            ASSERT_EQ(bits[r * info.rowStride + x], 0) << "row " << r << " byte " << x;
        }
    }
    EXPECT_EQ(yfx::makeBlackBitmap(-2, 4), nullptr);
}

TEST(BitmapHelpers, FlipReversesRowOrder) {
    unsigned char rows[4 * 3];
    for (int i = 0; i < 12; ++i) {
        rows[i] = static_cast<unsigned char>(i / 3); // row r holds r
    }
    ASSERT_EQ(yfx::flipRowsVertically(rows, 3, 4), 1);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(rows[i], 3 - i / 3) << "byte " << i;
    }
    // Odd count: the middle row stays.
    unsigned char odd[3] = {1, 2, 3};
    ASSERT_EQ(yfx::flipRowsVertically(odd, 1, 3), 1);
    EXPECT_EQ(odd[0], 3);
    EXPECT_EQ(odd[1], 2);
    EXPECT_EQ(odd[2], 1);
    EXPECT_EQ(yfx::flipRowsVertically(nullptr, 3, 4), 0);
    EXPECT_EQ(yfx::flipRowsVertically(rows, 0, 4), 0);
    EXPECT_EQ(yfx::flipRowsVertically(rows, 3, 0), 0);
}

TEST(BitmapHelpers, ConversionSwapsToRgbAndTurnsRowsTopDown) {
    Bitmap bmp(yfx::createDibSection(2, 3, 24));
    DibInfo info;
    unsigned char* bits = bitsOf(bmp.handle, info);
    ASSERT_NE(bits, nullptr);
    ASSERT_EQ(info.rowStride, 8);
    // Memory row r is picture row (2 - r): fill pixel (x, memory row r) with
    // B = 10r + x, G = 100 + r, R = 200 + x, and the padding with 0xEE.
    for (int r = 0; r < 3; ++r) {
        unsigned char* row = bits + r * info.rowStride;
        std::memset(row, 0xEE, 8);
        for (int x = 0; x < 2; ++x) {
            row[3 * x] = static_cast<unsigned char>(10 * r + x);
            row[3 * x + 1] = static_cast<unsigned char>(100 + r);
            row[3 * x + 2] = static_cast<unsigned char>(200 + x);
        }
    }
    RgbImage image;
    image.rowPadding = 5; // stale value from an earlier use
    ASSERT_EQ(yfx::bitmapToRgbImage(bmp.handle, image), 1);
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 3u);
    EXPECT_EQ(image.bitsPerPixel, 24u);
    EXPECT_EQ(image.rowBytes, 6u);
    EXPECT_EQ(image.byteSize, 18u);
    EXPECT_EQ(image.rowPadding, 0u);
    EXPECT_EQ(image.reserved, 0);
    EXPECT_EQ(image.rowsFlipped, 0);
    for (int top = 0; top < 3; ++top) {
        const int r = 2 - top; // the bottom memory row is the picture's last row
        for (int x = 0; x < 2; ++x) {
            const unsigned char* px = image.pixels + top * 6 + 3 * x;
            EXPECT_EQ(px[0], 200 + x) << "R at row " << top;
            EXPECT_EQ(px[1], 100 + r) << "G at row " << top;
            EXPECT_EQ(px[2], 10 * r + x) << "B at row " << top;
        }
    }
    std::free(image.pixels);
}

TEST(BitmapHelpers, WidthOneSkipsTheRowPadding) {
    Bitmap bmp(yfx::createDibSection(1, 2, 24));
    DibInfo info;
    unsigned char* bits = bitsOf(bmp.handle, info);
    ASSERT_EQ(info.rowStride, 4);
    const unsigned char memory[8] = {1, 2, 3, 0xAA, 4, 5, 6, 0xBB};
    std::memcpy(bits, memory, 8);
    RgbImage image;
    ASSERT_EQ(yfx::bitmapToRgbImage(bmp.handle, image), 1);
    EXPECT_EQ(image.byteSize, 6u);
    const unsigned char expected[6] = {6, 5, 4, 3, 2, 1};
    EXPECT_EQ(std::memcmp(image.pixels, expected, 6), 0);
    std::free(image.pixels);
}

TEST(BitmapHelpers, EmptyBitmapGivesEmptyImage) {
    Bitmap bmp(yfx::createDibSection(4, 0, 24));
    ASSERT_NE(bmp.handle, nullptr);
    RgbImage image;
    EXPECT_EQ(yfx::bitmapToRgbImage(bmp.handle, image), 1);
    EXPECT_EQ(image.byteSize, 0u);
    EXPECT_EQ(image.height, 0u);
    EXPECT_EQ(image.rowBytes, 12u);
    std::free(image.pixels);
}

TEST(BitmapHelpers, ConversionRefusesWithoutTouchingTheImage) {
    RgbImage image;
    EXPECT_EQ(yfx::bitmapToRgbImage(nullptr, image), 0);

    Bitmap deep(yfx::createDibSection(2, 2, 32));
    ASSERT_NE(deep.handle, nullptr);
    EXPECT_EQ(yfx::bitmapToRgbImage(deep.handle, image), 0);
    EXPECT_EQ(image.pixels, nullptr);

    // No pixel bits: refused, and no half-made block is left in the image.
    Bitmap bare(yfx::createBitmapWithoutBits(2, 2, 24));
    ASSERT_NE(bare.handle, nullptr);
    EXPECT_EQ(yfx::bitmapToRgbImage(bare.handle, image), 0);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0u);

    // An image that already owns pixels is not overwritten (nor leaked).
    Bitmap good(yfx::makeBlackBitmap(2, 2));
    unsigned char owned[3] = {7, 8, 9};
    image.pixels = owned;
    image.byteSize = 3;
    EXPECT_EQ(yfx::bitmapToRgbImage(good.handle, image), 0);
    EXPECT_EQ(image.pixels, owned);
    EXPECT_EQ(image.byteSize, 3u);
    EXPECT_EQ(owned[0], 7);
}
