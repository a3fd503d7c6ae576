// An in-memory 8-bit RGB(A) image: rows top to bottom, R, G, B order.
#pragma once

#include <cstdint>

namespace yfx {

struct RgbImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitsPerPixel = 24; // 32 when an alpha byte follows each pixel
    std::uint32_t byteSize = 0;
    std::uint32_t rowBytes = 0;
    std::uint32_t rowPadding = 0; // bytes to skip after each row when reading the pixels
    std::int32_t reserved = 0;
    std::int32_t rowsFlipped = 0;
    // byteSize bytes from the C allocator; the owner frees them with std::free.
    unsigned char* pixels = nullptr;
};

} // namespace yfx
