// Host-convention path splitting and comparison.
#include <gtest/gtest.h>

#include <string>

#include "platform/path.h"

namespace yfx {
namespace {

TEST(PathSplit, DriveDirectoryNameExtension) {
    const WidePathParts p = splitPath(std::wstring(L"C:\\maps\\skin.v2.png"));
    EXPECT_EQ(p.drive, L"C:");
    EXPECT_EQ(p.dir, L"\\maps\\");
    EXPECT_EQ(p.name, L"skin.v2");
    EXPECT_EQ(p.ext, L".png");

    const WidePathParts mixed = splitPath(std::wstring(L"a/b\\c/file"));
    EXPECT_EQ(mixed.drive, L"");
    EXPECT_EQ(mixed.dir, L"a/b\\c/");
    EXPECT_EQ(mixed.name, L"file");
    EXPECT_EQ(mixed.ext, L"");

    // A dot in a directory is not an extension.
    const AnsiPathParts dotted = splitPath(std::string("d:\\v1.0\\readme"));
    EXPECT_EQ(dotted.name, "readme");
    EXPECT_EQ(dotted.ext, "");
}

TEST(PathHelpers, DirectoryTitleAndName) {
    EXPECT_EQ(directoryOf(L"skin.png"), L"");
    EXPECT_EQ(directoryOf(L"C:\\maps\\skin.png"), L"C:\\maps\\");
    EXPECT_EQ(directoryOf(L""), L"");

    EXPECT_EQ(fileTitleOf(L"C:\\maps\\skin.png"), L"skin");
    EXPECT_EQ(fileTitleOf(L"C:\\maps\\"), L"");
    EXPECT_EQ(fileNameOf(std::wstring(L"C:\\maps\\skin.png")), L"skin.png");
    EXPECT_EQ(fileNameOf(std::string("/home/u/t\xe9x.tga")), "t\xe9x.tga");
    EXPECT_EQ(fileNameOf(std::string("plain")), "plain");
}

TEST(PathHelpers, HostPathUsesBackslashesAndFitsTheBuffer) {
    EXPECT_EQ(toHostPath(L"C:/a/b.yfx"), L"C:\\a\\b.yfx");
    const std::wstring longPath(300, L'/');
    const std::wstring host = toHostPath(longPath);
    EXPECT_EQ(host.size(), 259u);
    EXPECT_EQ(host.find(L'/'), std::wstring::npos);
}

TEST(CompareNoCase, AsciiLettersOnly) {
    EXPECT_EQ(compareNoCase(L"C:\\T\\SKIN.PNG", L"c:\\t\\skin.png"), 0);
    EXPECT_LT(compareNoCase(L"abc", L"ABD"), 0);
    EXPECT_GT(compareNoCase(L"abd", L"ABC"), 0);
    EXPECT_LT(compareNoCase(L"ab", L"abc"), 0);
    EXPECT_EQ(compareNoCase(nullptr, L""), 0);
    EXPECT_LT(compareNoCase(nullptr, L"a"), 0);
    // Letter case outside ASCII is not folded in the "C" locale.
    EXPECT_NE(compareNoCase(L"\u00e9", L"\u00c9"), 0);
}

} // namespace
} // namespace yfx
