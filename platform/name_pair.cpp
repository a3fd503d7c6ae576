#include "platform/name_pair.h"

#include "platform/ansi_text.h"

namespace yfx {

void NamePair::setWide(const wchar_t* text) {
    std::size_t n = 0;
    if (text != nullptr) {
        while (n + 1 < kNameCapacity && text[n] != 0) {
            ++n;
        }
    }
    setWide(text, n);
}

void NamePair::setWide(const wchar_t* text, std::size_t length) {
    std::size_t n = 0;
    if (text != nullptr) {
        for (; n < length && n + 1 < kNameCapacity && text[n] != 0; ++n) {
            wide[n] = text[n];
            const unsigned char b = wideToAnsiChar(text[n]);
            ansi[n] = static_cast<char>(b != 0 ? b : '?');
        }
    }
    wide[n] = 0;
    ansi[n] = 0;
}

void NamePair::setAnsi(const char* text) {
    std::size_t n = 0;
    if (text != nullptr) {
        while (n + 1 < kNameCapacity && text[n] != 0) {
            ++n;
        }
    }
    setAnsi(text, n);
}

void NamePair::setAnsi(const char* text, std::size_t length) {
    std::size_t n = 0;
    if (text != nullptr) {
        for (; n < length && n + 1 < kNameCapacity && text[n] != 0; ++n) {
            ansi[n] = text[n];
            wide[n] = ansiToWideChar(static_cast<unsigned char>(text[n]));
        }
    }
    wide[n] = 0;
    ansi[n] = 0;
}

void NamePair::clear() {
    wide[0] = 0;
    ansi[0] = 0;
}

std::size_t NamePair::length() const {
    std::size_t n = 0;
    while (n < kNameCapacity && wide[n] != 0) {
        ++n;
    }
    return n;
}

void WideName::set(const wchar_t* value) {
    std::size_t n = 0;
    if (value != nullptr) {
        for (; n + 1 < kNameCapacity && value[n] != 0; ++n) {
            text[n] = value[n];
        }
    }
    text[n] = 0;
}

} // namespace yfx
