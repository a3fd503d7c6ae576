// The cursor's primitives on short images and awkward names.
#include <gtest/gtest.h>

#include "format/byte_cursor.h"
#include "reader/crafted_file.h"

using yfx::ByteCursor;
using yfx::NameEncoding;
using yfx::NamePair;

namespace {

TEST(ByteCursor, ShortReadsFailInPlaceAndZeroTheirDestination) {
    const std::uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0xAA, 0xBB, 0xCC};
    ByteCursor c(bytes, sizeof bytes);
    std::uint32_t word = 0;
    ASSERT_EQ(c.readU32(word), 1);
    EXPECT_EQ(word, 0x12345678u);
    EXPECT_EQ(c.readU32(word), 0); // three bytes left
    EXPECT_EQ(word, 0u);
    EXPECT_EQ(c.position(), 4u);
    EXPECT_EQ(c.lastShortfall().needed, 4u);
    EXPECT_EQ(c.lastShortfall().offset, 4u);
    EXPECT_EQ(c.lastShortfall().left, 3u);

    std::uint16_t half = 7;
    ASSERT_EQ(c.readU16(half), 1);
    EXPECT_EQ(half, 0xBBAA);
    EXPECT_EQ(c.readU16(half), 0);
    EXPECT_EQ(half, 0);
    EXPECT_EQ(c.position(), 6u);

    std::uint8_t raw[2] = {9, 9};
    EXPECT_EQ(c.readBytes(raw, 2), 0);
    EXPECT_EQ(c.readBytes(nullptr, 1), 0);
    EXPECT_EQ(c.skip(2), 0);
    EXPECT_EQ(c.position(), 6u);
    EXPECT_EQ(c.skip(1), 1);
    EXPECT_EQ(c.remaining(), 0u);
}

TEST(ByteCursor, ElementCountsNeverOverflow) {
    const std::uint8_t bytes[16] = {};
    ByteCursor c(bytes, sizeof bytes);
    EXPECT_EQ(c.skipElements(-5, 8), 1); // negative counts are empty
    EXPECT_EQ(c.position(), 0u);
    EXPECT_EQ(c.skipElements(0x7FFFFFFF, 0x7FFFFFFF), 0);
    EXPECT_EQ(c.skipElements(INT64_MAX, UINT64_MAX / 2), 0);
    EXPECT_FALSE(c.fits(3, 6));
    EXPECT_TRUE(c.fits(2, 8));
    EXPECT_EQ(c.skipElements(2, 8), 1);
    EXPECT_EQ(c.position(), 16u);
}

TEST(ByteCursor, NamesInBothEncodings) {
    yfx_test::Bytes b;
    b.name(L"Caf\u00e9", false);
    b.name(L"\u00c5ngstr\u00f6m \u20ac", true);
    b.u16(0); // L = 0: an empty name
    ByteCursor c(b.data.data(), static_cast<std::uint32_t>(b.size()));
    NamePair name;
    ASSERT_EQ(c.readName(name, NameEncoding::Ansi), 1);
    EXPECT_STREQ(name.wide, L"Caf\u00e9");
    EXPECT_STREQ(name.ansi, "Caf\xe9");
    ASSERT_EQ(c.readName(name, NameEncoding::Utf16), 1);
    EXPECT_STREQ(name.wide, L"\u00c5ngstr\u00f6m \u20ac");
    EXPECT_STREQ(name.ansi, "\xc5ngstr\xf6m \x80"); // the euro sign is 0x80 in Windows-1252
    ASSERT_EQ(c.readName(name, NameEncoding::Ansi), 1);
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(c.remaining(), 0u);
}

TEST(ByteCursor, LongNamesAreCutAndFullyConsumed) {
    for (NameEncoding encoding : {NameEncoding::Ansi, NameEncoding::Utf16}) {
        yfx_test::Bytes b;
        b.name(std::wstring(1000, L'x'), encoding == NameEncoding::Utf16);
        b.u32(0xDEADBEEF);
        ByteCursor c(b.data.data(), static_cast<std::uint32_t>(b.size()));
        NamePair name;
        ASSERT_EQ(c.readName(name, encoding), 1);
        EXPECT_EQ(name.length(), yfx::kNameCapacity - 1);
        EXPECT_EQ(name.ansi[yfx::kNameCapacity - 1], 0);
        std::uint32_t after = 0;
        ASSERT_EQ(c.readU32(after), 1); // the cursor moved past the whole name
        EXPECT_EQ(after, 0xDEADBEEFu);
    }
}

TEST(ByteCursor, OddUtf16LengthStaysInsideTheName) {
    // L = 5: two code units and one stray byte, followed by a marker that must
    // not become part of the name.
    const std::uint8_t bytes[] = {5, 0, 'A', 0, 'B', 0, 'C', 'Z', 0};
    ByteCursor c(bytes, sizeof bytes);
    NamePair name;
    ASSERT_EQ(c.readName(name, NameEncoding::Utf16), 1);
    EXPECT_STREQ(name.wide, L"AB");
    EXPECT_EQ(c.position(), 7u);
}

TEST(ByteCursor, TruncatedNameFailsWithoutMoving) {
    const std::uint8_t bytes[] = {10, 0, 'a', 'b'};
    ByteCursor c(bytes, sizeof bytes);
    NamePair name;
    name.setAnsi("keep");
    EXPECT_EQ(c.readName(name, NameEncoding::Ansi), 0);
    EXPECT_EQ(c.position(), 0u);
    EXPECT_EQ(c.skipName(), 0);
    EXPECT_EQ(c.position(), 0u);
    EXPECT_STREQ(name.ansi, "keep");
}

TEST(ByteCursor, SurrogatePairsBecomeOneCharacter) {
    const std::uint8_t units[] = {0x3D, 0xD8, 0x00, 0xDE, 0x41, 0x00, 0x00, 0xDC};
    wchar_t out[8];
    const std::size_t n = yfx::decodeUtf16(units, 4, out, 8);
    if (sizeof(wchar_t) >= 4) {
        ASSERT_EQ(n, 3u);
        EXPECT_EQ(static_cast<std::uint32_t>(out[0]), 0x1F600u);
        EXPECT_EQ(out[1], L'A');
        EXPECT_EQ(static_cast<std::uint32_t>(out[2]), 0xFFFDu); // a lone low surrogate
    } else {
        EXPECT_EQ(n, 4u);
    }
    // The capacity bounds the output.
    EXPECT_EQ(yfx::decodeUtf16(units + 4, 2, out, 2), 1u);
    EXPECT_EQ(out[1], 0);
}

} // namespace
