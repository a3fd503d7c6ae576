// Name pairs and the Windows-1252 conversions under them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/ansi_text.h"
#include "platform/name_pair.h"

namespace yfx {
namespace {

// Both forms hold the same text: every wide character maps to its byte, or
// to '?' when the code page cannot hold it.
void expectEqualForms(const NamePair& name) {
    std::size_t n = 0;
    while (name.wide[n] != 0) {
        ASSERT_LT(n, kNameCapacity - 1);
        const unsigned char b = wideToAnsiChar(name.wide[n]);
        EXPECT_EQ(static_cast<unsigned char>(name.ansi[n]), b != 0 ? b : '?') << "at " << n;
        ++n;
    }
    EXPECT_EQ(name.ansi[n], 0);
    EXPECT_EQ(name.length(), n);
}

TEST(NamePair, LongTextKeeps259CharactersInBothForms) {
    const std::wstring longWide(400, L'x');
    NamePair name;
    name.setWide(longWide.c_str());
    EXPECT_EQ(name.length(), 259u);
    EXPECT_EQ(std::strlen(name.ansi), 259u);
    expectEqualForms(name);

    const std::string longAnsi(300, '\xe9');
    name.setAnsi(longAnsi.c_str());
    EXPECT_EQ(name.length(), 259u);
    EXPECT_EQ(name.wide[258], L'\u00e9');
    EXPECT_EQ(name.wide[259], 0);
    expectEqualForms(name);

    // Exactly 259 is kept whole; 260 loses the last character.
    const std::wstring fits(259, L'a');
    name.setWide(fits.c_str());
    EXPECT_EQ(name.length(), 259u);
    const std::wstring over = std::wstring(259, L'a') + L"Z";
    name.setWide(over.c_str());
    EXPECT_EQ(name.wide[258], L'a');
    EXPECT_EQ(name.wide[259], 0);
}

TEST(NamePair, NonAsciiTextMapsToWindows1252) {
    NamePair name;
    name.setWide(L"\u20ac \u00fc \u0160 \u2122 \u4e2d \u0416");
    EXPECT_STREQ(name.ansi, "\x80 \xfc \x8a \x99 ? ?");
    expectEqualForms(name);

    name.setAnsi("\x80\x9f\xff\x81");
    EXPECT_EQ(name.wide[0], L'\u20ac');
    EXPECT_EQ(name.wide[1], L'\u0178');
    EXPECT_EQ(name.wide[2], L'\u00ff');
    EXPECT_EQ(name.wide[3], static_cast<wchar_t>(0x81)); // undefined byte keeps its value
    expectEqualForms(name);
}

TEST(NamePair, LengthLimitedSettersAndEmptying) {
    NamePair name;
    name.setWide(L"abcdef", 3);
    EXPECT_STREQ(name.wide, L"abc");
    EXPECT_STREQ(name.ansi, "abc");
    name.setAnsi("xy\0zz", 5); // stops at the terminator
    EXPECT_STREQ(name.wide, L"xy");
    name.setWide(static_cast<const wchar_t*>(nullptr));
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(name.ansi[0], 0);
    name.setAnsi("q");
    name.clear();
    EXPECT_TRUE(name.empty());
    EXPECT_EQ(name.ansi[0], 0);
}

TEST(AnsiText, EveryByteRoundTripsAndCapacityIsRespected) {
    for (int b = 1; b < 256; ++b) {
        const wchar_t w = ansiToWideChar(static_cast<unsigned char>(b));
        EXPECT_EQ(wideToAnsiChar(w), b) << "byte " << b;
    }
    EXPECT_EQ(wideToAnsiChar(L'\u0100'), 0);

    char small[4];
    std::memset(small, 'Z', sizeof small);
    EXPECT_EQ(wideToAnsi(L"hello", small, sizeof small), 3u);
    EXPECT_STREQ(small, "hel");
    wchar_t wide[3];
    EXPECT_EQ(ansiToWide("hello", wide, 3), 2u);
    EXPECT_STREQ(wide, L"he");
    EXPECT_EQ(wideToAnsi(L"x", small, 0), 0u);
    EXPECT_EQ(wideToAnsi(nullptr, small, sizeof small), 0u);
    EXPECT_EQ(small[0], 0);
}

TEST(WideName, TruncatesAndEmpties) {
    WideName name;
    const std::wstring longWide(270, L'p');
    name.set(longWide.c_str());
    EXPECT_EQ(std::wcslen(name.text), 259u);
    name.set(nullptr);
    EXPECT_TRUE(name.empty());
}

} // namespace
} // namespace yfx
