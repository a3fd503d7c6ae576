// An owned 8-bit RGBA picture: rows top to bottom, four bytes per pixel (red,
// green, blue, alpha). Decoded textures and drawn pictures use it; RgbImage
// stays the C-style view the TGA writer and the bitmap helpers exchange.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace yfx {

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 4 bytes

    bool empty() const { return width <= 0 || height <= 0 || pixels.empty(); }
    // The first of the pixel's four bytes; x and y must lie inside the image.
    std::uint8_t* at(int x, int y) {
        return pixels.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x)) *
                                   4;
    }
    const std::uint8_t* at(int x, int y) const { return const_cast<RgbaImage*>(this)->at(x, y); }
};

} // namespace yfx
