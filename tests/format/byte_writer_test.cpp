#include <gtest/gtest.h>

#include <string>

#include "format/byte_writer.h"
#include "format/file_string.h"
#include "test_bytes.h"

namespace yfx_test {
namespace {

using namespace yfx;

// A run of mixed fields; with a tiny block every kind of field straddles a
// block boundary somewhere.
void writeMix(ByteWriter& w) {
    const float floats[5] = {1.5f, -2.0f, 0.0f, 3.25f, 1e-30f};
    for (int i = 0; i < 40; ++i) {
        w.u8(std::uint8_t(i));
        w.u16(std::uint16_t(0xA000 + i));
        w.i32(-i);
        w.f32(float(i) * 0.5f);
        w.f32s(floats, std::size_t(i % 5));
        writeFileString(w, std::string(std::size_t(i), 'x').c_str());
    }
}

TEST(ByteWriter, BlockSizeDoesNotChangeTheBytes) {
    MemorySink big;
    ByteWriter a(big);
    writeMix(a);
    const std::uint64_t end = a.position();
    ASSERT_TRUE(a.flush());
    EXPECT_EQ(end, big.bytes().size());

    for (std::size_t block : {16u, 17u, 31u, 64u}) {
        MemorySink small;
        ByteWriter b(small, block);
        writeMix(b);
        EXPECT_EQ(b.position(), end);
        ASSERT_TRUE(b.flush());
        EXPECT_EQ(small.bytes(), big.bytes()) << "block " << block;
    }
}

TEST(ByteWriter, LittleEndianFieldsAndRewrite) {
    MemorySink sink;
    ByteWriter w(sink, 16);
    w.u32(0x01020304u);
    w.i32(-2);
    w.f32(1.0f);
    w.u16(0xBEEF);
    for (int i = 0; i < 10; ++i) {
        w.u32(0);
    }
    const std::uint8_t patch[4] = {9, 8, 7, 6};
    ASSERT_TRUE(w.rewrite(4, patch, 4));
    w.u8(0x55); // appends still land at the end
    ASSERT_TRUE(w.flush());
    Bytes expected;
    expected.u32(0x01020304u).u32(0x06070809u).u32(0x3F800000u);
    expected.v.push_back(0xEF);
    expected.v.push_back(0xBE);
    expected.zeros(40);
    expected.v.push_back(0x55);
    EXPECT_EQ(sink.bytes(), expected.v);
}

TEST(ByteWriter, FailureSticks) {
    LimitedSink sink(20);
    ByteWriter w(sink, 16);
    for (int i = 0; i < 8; ++i) {
        w.u32(std::uint32_t(i));
    }
    EXPECT_TRUE(w.ok()); // the second block is still pending
    w.u32(8);            // hands it on: 16 more bytes than the sink takes
    EXPECT_FALSE(w.ok());
    EXPECT_FALSE(w.flush());
    w.u32(1);
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(sink.bytes().size(), 16u);

    MemorySink memory;
    ByteWriter past(memory);
    past.u32(1);
    const std::uint8_t patch[8] = {};
    EXPECT_FALSE(past.rewrite(0, patch, 8)); // only 4 bytes exist
}

TEST(FileString, LengthRuleAndLimit) {
    MemorySink sink;
    ByteWriter w(sink);
    EXPECT_EQ(writeFileString(w, ""), 3u);
    EXPECT_EQ(writeFileString(w, "ab"), 5u);
    const std::string longText(300, 'q');
    EXPECT_EQ(writeFileString(w, longText.c_str()), 262u);
    EXPECT_EQ(writeFileString(w, nullptr), 0u);
    ASSERT_TRUE(w.flush());
    Cursor c(sink.bytes());
    EXPECT_EQ(c.str(), "");
    EXPECT_EQ(c.str(), "ab");
    EXPECT_EQ(c.str(), std::string(259, 'q'));
    EXPECT_EQ(c.left(), 0u);

    LimitedSink refusing(0);
    ByteWriter failed(refusing, 16);
    failed.bytes(longText.data(), 20);
    EXPECT_EQ(writeFileString(failed, "x"), 0u);
}

TEST(FileString, ImageFileNamesLoseDriveAndDirectories) {
    EXPECT_EQ(imageFileName("C:\\textures\\skin.png"), "skin.png");
    EXPECT_EQ(imageFileName("D:/maps/sub/opacity.tga"), "opacity.tga");
    EXPECT_EQ(imageFileName("mixed/dirs\\both.jpg"), "both.jpg");
    EXPECT_EQ(imageFileName("C:plain.bmp"), "plain.bmp");
    EXPECT_EQ(imageFileName("name.tif"), "name.tif");
    EXPECT_EQ(imageFileName("C:\\dir\\"), "");
    EXPECT_EQ(imageFileName(""), "");
    EXPECT_EQ(imageFileName(nullptr), "");
}

} // namespace
} // namespace yfx_test
