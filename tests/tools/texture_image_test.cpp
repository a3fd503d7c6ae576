// The tool's pictures: a TGA the writer wrote (named with backslashes, as
// the document names textures) and a PNG the tool wrote read back pixel for
// pixel; files that cannot be read are named in the error with the reason.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "document/tga_writer.h"
#include "tool_runner.h"
#include "tools/yfx/texture_image.h"

namespace yfx_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TextureImage, ReadsTgaAndPngAndNamesWhatItCannotRead) {
    ScratchDir dir;
    // Two rows of two pixels, R, G, B; the writer stores the first row at the
    // bottom of the picture.
    Bytes rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    yfx::RgbImage source;
    source.width = 2;
    source.height = 2;
    source.rowBytes = 6;
    source.byteSize = 12;
    source.pixels = rgb.data();
    const std::string tga = dir.file("t\xC3\xA9xture.TGA");
    std::FILE* f = std::fopen(tga.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(yfx::writeTga(f, &source), 1);
    std::fclose(f);
    std::string hostPath = tga, error;
    for (char& c : hostPath) {
        c = c == '/' ? '\\' : c;
    }
    yfx::RgbaImage read;
    ASSERT_TRUE(yfx::readTextureImage(hostPath, read, error)) << error;
    EXPECT_EQ(read.pixels, (Bytes{7, 8, 9, 255, 10, 11, 12, 255, 1, 2, 3, 255, 4, 5, 6, 255}));

    // PNG keeps alpha; writing again replaces the file.
    yfx::RgbaImage picture;
    picture.width = 1;
    picture.height = 3;
    picture.pixels = {255, 0, 0, 10, 0, 255, 0, 128, 0, 0, 255, 255};
    const std::string png = dir.file("picture.png");
    ASSERT_TRUE(yfx::writePngImage(read, png, error)) << error;
    ASSERT_TRUE(yfx::writePngImage(picture, png, error)) << error;
    ASSERT_TRUE(yfx::readTextureImage(png, read, error)) << error;
    EXPECT_EQ(read.width, 1);
    EXPECT_EQ(read.pixels, picture.pixels);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"picture.png", "t\xC3\xA9xture.TGA"}));

    Bytes cut = readBytes(tga);
    cut.pop_back();
    writeBytes(dir.file("cut.tga"), cut);
    writeBytes(dir.file("notes.png"), {'h', 'e', 'l', 'l', 'o'});
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {dir.file("cut.tga"), "cut short"},
        {dir.file("notes.png"), "not an image"},
        {dir.file("missing.png"), "cannot be opened"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(yfx::readTextureImage(c.path, read, error)) << c.path;
        EXPECT_EQ(error.rfind(c.path + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_TRUE(read.empty());
    }
    EXPECT_FALSE(yfx::writePngImage(yfx::RgbaImage(), dir.file("empty.png"), error));
    EXPECT_NE(error.find("empty.png"), std::string::npos) << error;
}

} // namespace
} // namespace yfx_test
