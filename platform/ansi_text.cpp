#include "platform/ansi_text.h"

namespace yfx {

namespace {

// Code points of the bytes 0x80..0x9F; 0 marks a byte Windows-1252 leaves
// undefined (it maps to the code point of the same value).
constexpr wchar_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

unsigned char wideToAnsiChar(wchar_t c) {
    const unsigned long u = static_cast<unsigned long>(c);
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return static_cast<unsigned char>(u);
    }
    for (unsigned i = 0; i < 32; ++i) {
        const wchar_t mapped = kHighControls[i];
        if (mapped == 0 ? u == 0x80 + i : static_cast<unsigned long>(mapped) == u) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return 0;
}

wchar_t ansiToWideChar(unsigned char c) {
    if (c >= 0x80 && c < 0xA0) {
        const wchar_t mapped = kHighControls[c - 0x80];
        return mapped != 0 ? mapped : static_cast<wchar_t>(c);
    }
    return static_cast<wchar_t>(c);
}

std::size_t wideToAnsi(const wchar_t* src, char* dst, std::size_t capacity) {
    if (dst == nullptr || capacity == 0) {
        return 0;
    }
    std::size_t n = 0;
    if (src != nullptr) {
        for (; n + 1 < capacity && src[n] != 0; ++n) {
            const unsigned char b = wideToAnsiChar(src[n]);
            dst[n] = static_cast<char>(b != 0 ? b : '?');
        }
    }
    dst[n] = 0;
    return n;
}

std::size_t ansiToWide(const char* src, wchar_t* dst, std::size_t capacity) {
    if (dst == nullptr || capacity == 0) {
        return 0;
    }
    std::size_t n = 0;
    if (src != nullptr) {
        for (; n + 1 < capacity && src[n] != 0; ++n) {
            dst[n] = ansiToWideChar(static_cast<unsigned char>(src[n]));
        }
    }
    dst[n] = 0;
    return n;
}

} // namespace yfx
