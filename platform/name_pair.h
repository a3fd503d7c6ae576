// A record's name or path, held twice: as wide text and as 8-bit Windows-1252
// text, both in 260-character buffers, always zero-terminated and always the
// same text. Every set converts and fills both; at most 259 characters are
// kept, the rest is cut off.
#pragma once

#include <cstddef>

namespace yfx {

constexpr std::size_t kNameCapacity = 260;

struct NamePair {
    wchar_t wide[kNameCapacity] = {};
    char ansi[kNameCapacity] = {};

    // Sets both buffers from wide text; characters Windows-1252 cannot hold
    // become '?' in the 8-bit buffer. A null pointer empties the name.
    void setWide(const wchar_t* text);
    // Sets both buffers from 8-bit Windows-1252 text.
    void setAnsi(const char* text);
    // Sets both buffers from the first `length` wide characters of `text`
    // (which need not be terminated).
    void setWide(const wchar_t* text, std::size_t length);
    // Sets both buffers from the first `length` bytes of `text`.
    void setAnsi(const char* text, std::size_t length);
    void clear();

    bool empty() const { return wide[0] == 0; }
    std::size_t length() const;
};

// A wide-only name or path of 260 characters (at most 259 kept).
struct WideName {
    wchar_t text[kNameCapacity] = {};

    void set(const wchar_t* value);
    void clear() { text[0] = 0; }
    bool empty() const { return text[0] == 0; }
};

} // namespace yfx
