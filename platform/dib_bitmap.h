// Device-independent bitmaps: on Windows the GDI calls themselves, elsewhere
// an in-memory bitmap that behaves the same way (rows padded to 4 bytes,
// bottom-up, pixels in B, G, R order). Handles are deleted with deleteDib.
// A bitmap without pixels (width or height 0) is described without GDI on
// Windows too, as GDI makes no section of no rows.
#pragma once

#include <cstdint>

namespace yfx {

struct DibBitmap; // on Windows an HBITMAP and the size it was made with
using DibHandle = DibBitmap*;

// What GetObjectW reports about a bitmap.
struct DibInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
    std::int32_t rowStride = 0; // bytes per row, a multiple of 4 for a DIB section
    void* bits = nullptr;       // first byte of the bottom row; null when the bitmap has none
};

// Bytes per row of a bitmap: width * bitsPerPixel / 8 rounded up to 4 bytes.
// -1 when the width is negative or the row would not fit in 31 bits.
std::int32_t dibRowStride(std::int32_t width, std::uint16_t bitsPerPixel);

// A bottom-up DIB section of the given size and depth (24 or 32) made against
// the screen; its pixel contents are unspecified. Null on failure (negative
// size, unsupported depth, a size that does not fit, out of memory).
DibHandle createDibSection(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel);

// A bitmap that has a size and depth but no pixel bits of its own (a
// device-dependent bitmap on Windows). Null on failure.
DibHandle createBitmapWithoutBits(std::int32_t width, std::int32_t height,
                                  std::uint16_t bitsPerPixel);

// Selects the bitmap into a memory context compatible with the screen and
// fills all of it with BLACKNESS. Returns 1 on success, 0 on failure.
int fillDibBlack(DibHandle bitmap);

// The bitmap's description (GetObjectW). 1 on success, 0 for a null handle.
int describeDib(DibHandle bitmap, DibInfo& info);

// Frees the bitmap and its bits (DeleteObject). A null handle is ignored.
void deleteDib(DibHandle bitmap);

} // namespace yfx
