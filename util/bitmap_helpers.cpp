#include "util/bitmap_helpers.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace yfx {

DibHandle makeBlackBitmap(std::int32_t width, std::int32_t height) {
    DibHandle bitmap = createDibSection(width, height, 24);
    if (bitmap == nullptr) {
        return nullptr;
    }
    // A bitmap that could not be cleared would hand out arbitrary pixels as black.
    if (fillDibBlack(bitmap) == 0) {
        deleteDib(bitmap);
        return nullptr;
    }
    return bitmap;
}

int flipRowsVertically(unsigned char* pixels, std::uint32_t rowBytes, std::uint32_t rows) {
    if (pixels == nullptr || rowBytes == 0 || rows == 0) {
        return 0;
    }
    if (static_cast<std::uint64_t>(rowBytes) * rows > std::numeric_limits<std::size_t>::max()) {
        return 0;
    }
    // Rows are swapped pairwise through one scratch row.
    unsigned char* scratch = static_cast<unsigned char*>(std::malloc(rowBytes));
    if (scratch == nullptr) {
        return 0;
    }
    const std::size_t stride = rowBytes;
    for (std::uint32_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        unsigned char* upper = pixels + top * stride;
        unsigned char* lower = pixels + bottom * stride;
        std::memcpy(scratch, upper, stride);
        std::memcpy(upper, lower, stride);
        std::memcpy(lower, scratch, stride);
    }
    std::free(scratch);
    return 1;
}

int bitmapToRgbImage(DibHandle bitmap, RgbImage& image) {
    if (bitmap == nullptr || image.pixels != nullptr) {
        return 0;
    }
    DibInfo info;
    if (describeDib(bitmap, info) == 0 || info.bitsPerPixel != 24) {
        return 0;
    }
    if (info.width < 0 || info.height < 0 || info.bits == nullptr) {
        return 0;
    }
    const std::uint64_t width = static_cast<std::uint64_t>(info.width);
    const std::uint64_t height = static_cast<std::uint64_t>(info.height);
    const std::uint64_t rowBytes = width * 3;
    const std::uint64_t byteSize = rowBytes * height;
    if (byteSize > std::numeric_limits<std::uint32_t>::max() ||
        byteSize > std::numeric_limits<std::size_t>::max()) {
        return 0;
    }
    // Source rows are padded to a multiple of 4 bytes.
    const std::size_t sourceStride = static_cast<std::size_t>((rowBytes + 3) / 4 * 4);
    if (info.rowStride > 0 && static_cast<std::size_t>(info.rowStride) < sourceStride) {
        return 0; // rows shorter than 24-bit pixels need: reading them would overrun
    }
    // malloc(0) may return null; a one-byte block keeps an empty image valid.
    unsigned char* pixels = static_cast<unsigned char*>(
        std::malloc(byteSize > 0 ? static_cast<std::size_t>(byteSize) : 1));
    if (pixels == nullptr) {
        return 0;
    }
    // The bitmap is bottom-up: source row r becomes image row height - 1 - r,
    // and each pixel turns from B, G, R into R, G, B.
    const unsigned char* source = static_cast<const unsigned char*>(info.bits);
    const std::size_t outStride = static_cast<std::size_t>(rowBytes);
    for (std::size_t r = 0; r < height; ++r) {
        const unsigned char* in = source + r * sourceStride;
        unsigned char* out = pixels + (height - 1 - r) * outStride;
        for (std::size_t x = 0; x < outStride; x += 3) {
            out[x] = in[x + 2];
            out[x + 1] = in[x + 1];
            out[x + 2] = in[x];
        }
    }
    image.width = static_cast<std::uint32_t>(width);
    image.height = static_cast<std::uint32_t>(height);
    image.bitsPerPixel = 24;
    image.byteSize = static_cast<std::uint32_t>(byteSize);
    image.rowBytes = static_cast<std::uint32_t>(rowBytes);
    image.rowPadding = 0;
    image.reserved = 0;
    image.rowsFlipped = 0;
    image.pixels = pixels;
    return 1;
}

} // namespace yfx
