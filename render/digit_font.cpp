#include "render/digit_font.h"

#include <string>

namespace yfx {
namespace render {

namespace {

// Five rows of three bits per digit, the high bit the left cell.
constexpr std::uint8_t kGlyphs[10][kDigitHeight] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void fillBlock(RgbaImage& image, int x, int y, int scale, const std::uint8_t rgba[4]) {
    for (int row = y; row < y + scale; ++row) {
        for (int col = x; col < x + scale; ++col) {
            if (row >= 0 && col >= 0 && row < image.height && col < image.width) {
                std::uint8_t* p = image.at(col, row);
                p[0] = rgba[0], p[1] = rgba[1], p[2] = rgba[2], p[3] = rgba[3];
            }
        }
    }
}

} // namespace

int numberWidth(unsigned number, int scale) {
    const int digits = int(std::to_string(number).size());
    return (digits * (kDigitWidth + 1) - 1) * scale;
}

void drawNumber(RgbaImage& image, int x, int y, unsigned number, int scale,
                const std::uint8_t rgba[4]) {
    if (scale <= 0 || image.empty()) {
        return;
    }
    const std::string text = std::to_string(number);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t* glyph = kGlyphs[text[i] - '0'];
        const int left = x + int(i) * (kDigitWidth + 1) * scale;
        for (int row = 0; row < kDigitHeight; ++row) {
            for (int col = 0; col < kDigitWidth; ++col) {
                if (glyph[row] & (4 >> col)) {
                    fillBlock(image, left + col * scale, y + row * scale, scale, rgba);
                }
            }
        }
    }
}

} // namespace render
} // namespace yfx
