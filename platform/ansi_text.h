// The 8-bit ("ANSI") code page of names and log lines: Windows-1252 on every
// platform, so that files written here and on Windows agree byte for byte.
#pragma once

#include <cstddef>

namespace yfx {

// The Windows-1252 byte for a wide character, or 0 when the code page cannot
// hold it. The character 0 maps to 0 as well.
unsigned char wideToAnsiChar(wchar_t c);

// The wide character for a Windows-1252 byte. The five bytes the code page
// leaves undefined map to the code points of the same value, as Windows does.
wchar_t ansiToWideChar(unsigned char c);

// Converts at most `capacity - 1` characters of `src` (zero-terminated) into
// `dst` and terminates it; characters the code page cannot hold become '?'.
// Returns the number of characters written (without the terminator).
std::size_t wideToAnsi(const wchar_t* src, char* dst, std::size_t capacity);

// Converts at most `capacity - 1` bytes of `src` (zero-terminated) into `dst`
// and terminates it. Returns the number of characters written.
std::size_t ansiToWide(const char* src, wchar_t* dst, std::size_t capacity);

} // namespace yfx
