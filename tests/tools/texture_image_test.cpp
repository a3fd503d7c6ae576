// The tool's pictures: a TGA the writer wrote and a PNG the tool wrote read
// back pixel for pixel, through paths in either separator convention; files
// that cannot be read are named in the error.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "document/tga_writer.h"
#include "tool_runner.h"
#include "tools/yfx/texture_image.h"

namespace yfx_test {
namespace {

// A picture whose every pixel differs from its neighbours in some channel.
yfx::RgbaImage pattern(int width, int height, bool alpha) {
    yfx::RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * std::size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.at(x, y);
            p[0] = std::uint8_t(x * 40);
            p[1] = std::uint8_t(y * 50);
            p[2] = std::uint8_t(x < 3 ? 7 : 200);
            p[3] = std::uint8_t(alpha ? 60 + x * 10 + y : 255);
        }
    }
    return image;
}

// The writer's TGA of the picture: its rows in memory order, the first at the
// bottom of the file's picture, so the picture's last row goes first.
void writeTgaFile(const yfx::RgbaImage& image, const std::string& path) {
    std::vector<std::uint8_t> rgb;
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            rgb.insert(rgb.end(), image.at(x, y), image.at(x, y) + 3);
        }
    }
    yfx::RgbImage source;
    source.width = std::uint32_t(image.width);
    source.height = std::uint32_t(image.height);
    source.rowBytes = source.width * 3;
    source.byteSize = std::uint32_t(rgb.size());
    source.pixels = rgb.data();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(yfx::writeTga(f, &source), 1);
    std::fclose(f);
}

std::string backslashes(std::string path) {
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

TEST(TextureImage, ReadsTheWritersTgaAndTheToolsPng) {
    ScratchDir dir;
    const yfx::RgbaImage opaque = pattern(5, 3, false);
    const std::string tga = dir.file("t\xC3\xA9xture.TGA");
    writeTgaFile(opaque, tga);
    yfx::RgbaImage read;
    std::string error;
    ASSERT_TRUE(yfx::readTextureImage(backslashes(tga), read, error)) << error;
    EXPECT_EQ(read.width, 5);
    EXPECT_EQ(read.height, 3);
    EXPECT_EQ(read.pixels, opaque.pixels);

    // PNG keeps alpha; writing again replaces the file.
    const yfx::RgbaImage translucent = pattern(4, 6, true);
    const std::string png = dir.file("picture.png");
    ASSERT_TRUE(yfx::writePngImage(opaque, png, error)) << error;
    ASSERT_TRUE(yfx::writePngImage(translucent, png, error)) << error;
    ASSERT_TRUE(yfx::readTextureImage(png, read, error)) << error;
    EXPECT_EQ(read.width, 4);
    EXPECT_EQ(read.height, 6);
    EXPECT_EQ(read.pixels, translucent.pixels);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"picture.png", "t\xC3\xA9xture.TGA"}));
}

TEST(TextureImage, ErrorsNameTheFileAndTheReason) {
    ScratchDir dir;
    const std::string cut = dir.file("cut.tga");
    writeTgaFile(pattern(40, 40, false), cut);
    std::vector<std::uint8_t> bytes = readBytes(cut);
    bytes.resize(bytes.size() / 2);
    writeBytes(cut, bytes);
    const std::string text = dir.file("notes.png");
    writeBytes(text, {'h', 'e', 'l', 'l', 'o'});
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {cut, "cut short"},
        {text, "not an image"},
        {dir.file("missing.png"), "cannot be opened"},
    };
    for (const auto& c : cases) {
        yfx::RgbaImage image;
        std::string error;
        EXPECT_FALSE(yfx::readTextureImage(c.path, image, error)) << c.path;
        EXPECT_EQ(error.rfind(c.path, 0), 0u) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_TRUE(image.empty());
    }
    std::string error;
    EXPECT_FALSE(yfx::writePngImage(yfx::RgbaImage(), dir.file("empty.png"), error));
    EXPECT_NE(error.find("empty.png"), std::string::npos) << error;
    EXPECT_FALSE(yfx::writePngImage(pattern(2, 2, false), dir.file("no/such/folder.png"), error));
}

} // namespace
} // namespace yfx_test
