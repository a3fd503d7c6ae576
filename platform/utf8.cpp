#include "platform/utf8.h"

namespace yfx {

namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

bool isHighSurrogate(std::uint32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(std::uint32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A wide character as an unsigned code unit, whatever the width of wchar_t.
std::uint32_t unitOf(wchar_t c) {
    return sizeof(wchar_t) == 2 ? static_cast<std::uint16_t>(c) : static_cast<std::uint32_t>(c);
}

} // namespace

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string wideToUtf8(const wchar_t* text) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    for (const wchar_t* p = text; *p != 0; ++p) {
        std::uint32_t c = unitOf(p[0]);
        if (isHighSurrogate(c) && isLowSurrogate(unitOf(p[1]))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unitOf(p[1]) - 0xDC00);
            ++p;
        } else if (isHighSurrogate(c) || isLowSurrogate(c) || c > 0x10FFFF) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string wideToUtf8(const std::wstring& text) {
    return wideToUtf8(text.c_str());
}

} // namespace yfx
