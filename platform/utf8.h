// Wide text as UTF-8: surrogate pairs (16-bit wchar_t) become one code point,
// a lone surrogate or a value past U+10FFFF becomes U+FFFD.
#pragma once

#include <cstdint>
#include <string>

namespace yfx {

void appendUtf8(std::string& out, std::uint32_t codePoint);
std::string wideToUtf8(const wchar_t* text);
std::string wideToUtf8(const std::wstring& text);

} // namespace yfx
