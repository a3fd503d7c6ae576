// A built-in font of the ten digits, for tile numbers in the UV pictures.
#pragma once

#include <cstdint>

#include "util/rgba_image.h"

namespace yfx {
namespace render {

// Glyphs are 3 x 5 cells with one cell between digits.
constexpr int kDigitWidth = 3;
constexpr int kDigitHeight = 5;

// Width in pixels of `number` (not negative) drawn with cells of `scale` pixels.
int numberWidth(unsigned number, int scale);

// Draws `number` with its top left corner at (x, y), each glyph cell a
// scale x scale block of `rgba`; whatever falls outside the picture is left out.
void drawNumber(RgbaImage& image, int x, int y, unsigned number, int scale,
                const std::uint8_t rgba[4]);

} // namespace render
} // namespace yfx
