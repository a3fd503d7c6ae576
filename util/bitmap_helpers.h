// Black placeholder bitmaps and their conversion to an RgbImage.
#pragma once

#include <cstdint>

#include "platform/dib_bitmap.h"
#include "util/rgb_image.h"

namespace yfx {

// A 24-bit bottom-up bitmap of width x height filled with black, or null on
// failure. The caller deletes it with deleteDib.
DibHandle makeBlackBitmap(std::int32_t width, std::int32_t height);

// Reverses the order of `rows` rows of rowBytes bytes in place. 1 on success,
// 0 when an argument is null or zero or the scratch row cannot be allocated.
int flipRowsVertically(unsigned char* pixels, std::uint32_t rowBytes, std::uint32_t rows);

// Copies a 24-bit bitmap into an image without pixels: R, G, B order, top row
// first, no row padding, pixels from the C allocator for the caller to free.
// 1 on success; 0 (the image untouched) for a null bitmap, an image that
// already has pixels, another depth, a bitmap without bits, a size that does
// not fit the image's 32-bit fields, or an allocation failure.
int bitmapToRgbImage(DibHandle bitmap, RgbImage& image);

} // namespace yfx
