#include "platform/dib_bitmap.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace yfx {

namespace {

constexpr std::int64_t kMaxBytes = std::numeric_limits<std::int32_t>::max();

bool supportedDepth(std::uint16_t bitsPerPixel) {
    return bitsPerPixel == 24 || bitsPerPixel == 32;
}

// Total bytes of a bitmap, or -1 when the size is negative or too large.
std::int64_t dibByteSize(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
    const std::int32_t stride = dibRowStride(width, bitsPerPixel);
    if (stride < 0 || height < 0) {
        return -1;
    }
    const std::int64_t total = static_cast<std::int64_t>(stride) * height;
    return total > kMaxBytes ? -1 : total;
}

} // namespace

std::int32_t dibRowStride(std::int32_t width, std::uint16_t bitsPerPixel) {
    if (width < 0) {
        return -1;
    }
    const std::int64_t bits = static_cast<std::int64_t>(width) * bitsPerPixel;
    const std::int64_t stride = (bits + 31) / 32 * 4;
    return stride > kMaxBytes ? -1 : static_cast<std::int32_t>(stride);
}

#ifdef _WIN32

struct DibBitmap {
    HBITMAP gdi = nullptr; // null for a bitmap without pixels
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
    bool hasBits = false;
    unsigned char emptyBits = 0; // the bits of a section without pixels
};

namespace {

bool noPixels(std::int32_t width, std::int32_t height) {
    return width == 0 || height == 0;
}

// A bitmap of no pixels is described here alone: CreateDIBSection refuses a
// section of no rows, and CreateBitmap gives a 1 x 1 stock bitmap instead.
DibHandle wrap(HBITMAP gdi, std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel,
               bool hasBits) {
    if (gdi == nullptr && !noPixels(width, height)) {
        return nullptr;
    }
    DibBitmap* bitmap = new (std::nothrow) DibBitmap;
    if (bitmap == nullptr) {
        if (gdi != nullptr) {
            DeleteObject(gdi);
        }
        return nullptr;
    }
    bitmap->gdi = gdi;
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bitsPerPixel = bitsPerPixel;
    bitmap->hasBits = hasBits;
    return bitmap;
}

} // namespace

DibHandle createDibSection(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
    if (!supportedDepth(bitsPerPixel) || dibByteSize(width, height, bitsPerPixel) < 0) {
        return nullptr;
    }
    if (noPixels(width, height)) {
        return wrap(nullptr, width, height, bitsPerPixel, true);
    }
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER); // 40 bytes
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    return wrap(bitmap, width, height, bitsPerPixel, true);
}

DibHandle createBitmapWithoutBits(std::int32_t width, std::int32_t height,
                                  std::uint16_t bitsPerPixel) {
    if (!supportedDepth(bitsPerPixel) || dibByteSize(width, height, bitsPerPixel) < 0) {
        return nullptr;
    }
    if (noPixels(width, height)) {
        return wrap(nullptr, width, height, bitsPerPixel, false);
    }
    // A device-dependent bitmap: GetObjectW reports no bits for it.
    return wrap(CreateBitmap(width, height, 1, bitsPerPixel, nullptr), width, height, bitsPerPixel,
                false);
}

int fillDibBlack(DibHandle bitmap) {
    if (bitmap == nullptr) {
        return 0;
    }
    if (bitmap->gdi == nullptr) {
        return 1; // no pixels to fill
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (memory == nullptr) {
        return 0;
    }
    HGDIOBJ previous = SelectObject(memory, bitmap->gdi);
    BITMAP description;
    int ok = 0;
    if (previous != nullptr && GetObjectW(bitmap->gdi, sizeof(description), &description) != 0) {
        ok = BitBlt(memory, 0, 0, description.bmWidth, description.bmHeight, nullptr, 0, 0,
                    BLACKNESS)
                 ? 1
                 : 0;
    }
    if (previous != nullptr) {
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
    return ok;
}

int describeDib(DibHandle bitmap, DibInfo& info) {
    if (bitmap == nullptr) {
        return 0;
    }
    if (bitmap->gdi == nullptr) {
        info.width = bitmap->width;
        info.height = bitmap->height;
        info.bitsPerPixel = bitmap->bitsPerPixel;
        info.rowStride = dibRowStride(bitmap->width, bitmap->bitsPerPixel);
        info.bits = bitmap->hasBits ? &bitmap->emptyBits : nullptr;
        return 1;
    }
    BITMAP description;
    if (GetObjectW(bitmap->gdi, sizeof(description), &description) == 0) {
        return 0;
    }
    info.width = description.bmWidth;
    info.height = description.bmHeight;
    info.bitsPerPixel = description.bmBitsPixel;
    info.rowStride = description.bmWidthBytes;
    info.bits = description.bmBits;
    return 1;
}

void deleteDib(DibHandle bitmap) {
    if (bitmap != nullptr) {
        if (bitmap->gdi != nullptr) {
            DeleteObject(bitmap->gdi);
        }
        delete bitmap;
    }
}

#else // !_WIN32

struct DibBitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 0;
    std::int32_t rowStride = 0;
    std::size_t byteSize = 0;
    unsigned char* bits = nullptr; // bottom row first; null for a bitmap without bits
};

namespace {

constexpr unsigned char kUnfilledByte = 0xCD;

DibHandle makeBitmap(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel,
                     bool withBits) {
    if (!supportedDepth(bitsPerPixel)) {
        return nullptr;
    }
    const std::int64_t size = dibByteSize(width, height, bitsPerPixel);
    if (size < 0) {
        return nullptr;
    }
    DibBitmap* bitmap = new (std::nothrow) DibBitmap;
    if (bitmap == nullptr) {
        return nullptr;
    }
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bitsPerPixel = bitsPerPixel;
    bitmap->rowStride = dibRowStride(width, bitsPerPixel);
    if (withBits) {
        // An empty bitmap still gets a block, as a DIB section has bits at any size.
        bitmap->byteSize = static_cast<std::size_t>(size);
        bitmap->bits = new (std::nothrow) unsigned char[size > 0 ? size : 1];
        if (bitmap->bits == nullptr) {
            delete bitmap;
            return nullptr;
        }
        // The contents of a new section are unspecified; a visible pattern
        // shows any pixel that was never filled.
        std::memset(bitmap->bits, kUnfilledByte, bitmap->byteSize);
    }
    return bitmap;
}

} // namespace

DibHandle createDibSection(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
    return makeBitmap(width, height, bitsPerPixel, true);
}

DibHandle createBitmapWithoutBits(std::int32_t width, std::int32_t height,
                                  std::uint16_t bitsPerPixel) {
    return makeBitmap(width, height, bitsPerPixel, false);
}

int fillDibBlack(DibHandle bitmap) {
    if (bitmap == nullptr) {
        return 0;
    }
    if (bitmap->bits != nullptr) {
        std::memset(bitmap->bits, 0, bitmap->byteSize);
    }
    return 1;
}

int describeDib(DibHandle bitmap, DibInfo& info) {
    if (bitmap == nullptr) {
        return 0;
    }
    info.width = bitmap->width;
    info.height = bitmap->height;
    info.bitsPerPixel = bitmap->bitsPerPixel;
    info.rowStride = bitmap->rowStride;
    info.bits = bitmap->bits;
    return 1;
}

void deleteDib(DibHandle bitmap) {
    if (bitmap != nullptr) {
        delete[] bitmap->bits;
        delete bitmap;
    }
}

#endif // _WIN32

} // namespace yfx
