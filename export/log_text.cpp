#include "export/log_text.h"

#include "platform/ansi_text.h"

#include <cwchar>

namespace yfx {
namespace exporter {

namespace {

bool isFlagOrWidth(wchar_t c) {
    return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0' || c == L'\'' ||
           c == L'*' || c == L'.' || (c >= L'0' && c <= L'9');
}

bool isLengthModifier(wchar_t c) {
    return c == L'h' || c == L'l' || c == L'L' || c == L'j' || c == L'z' || c == L't' ||
           c == L'q' || c == L'I' || c == L'w';
}

} // namespace

std::wstring isoWideFormat(const wchar_t* format) {
    std::wstring out;
    if (format == nullptr) {
        return out;
    }
    for (const wchar_t* p = format; *p != 0;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;
        while (*p != 0 && isFlagOrWidth(*p)) {
            out += *p++;
        }
        bool hasLength = false;
        while (*p != 0 && isLengthModifier(*p)) {
            hasLength = true;
            out += *p++;
        }
        if (*p == 0) {
            break;
        }
        if (!hasLength && (*p == L's' || *p == L'c')) {
            out += L'l';
        }
        out += *p++;
    }
    return out;
}

std::wstring formatLogText(const wchar_t* format, std::va_list args) {
    const std::wstring iso = isoWideFormat(format);
    // Zeroed first: on a cut or a failure the C library may leave the buffer
    // unterminated, and what it wrote must end at the first zero.
    wchar_t buffer[kLogBufferChars] = {};
    std::vswprintf(buffer, kLogBufferChars, iso.c_str(), args);
    buffer[kLogBufferChars - 1] = 0;
    return std::wstring(buffer);
}

std::string logBytes(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() + 16);
    bool dropping = false;
    for (const wchar_t c : text) {
        if (c == L'\n') {
            out += "\r\n";
            dropping = false;
            continue;
        }
        if (dropping) {
            continue;
        }
        const unsigned char byte = wideToAnsiChar(c);
        if (byte == 0) {
            dropping = true;
            continue;
        }
        out += static_cast<char>(byte);
    }
    return out;
}

} // namespace exporter
} // namespace yfx
