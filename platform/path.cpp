#include "platform/path.h"

#include "platform/name_pair.h"

namespace yfx {

namespace {

template <typename Char> bool isSeparator(Char c) {
    return c == Char('\\') || c == Char('/');
}

template <typename String, typename Parts> Parts splitAny(const String& path) {
    using Char = typename String::value_type;
    Parts parts;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == Char(':')) {
        parts.drive = path.substr(0, 2);
        start = 2;
    }
    std::size_t nameStart = start;
    for (std::size_t i = start; i < path.size(); ++i) {
        if (isSeparator(path[i])) {
            nameStart = i + 1;
        }
    }
    parts.dir = path.substr(start, nameStart - start);
    std::size_t dot = String::npos;
    for (std::size_t i = nameStart; i < path.size(); ++i) {
        if (path[i] == Char('.')) {
            dot = i;
        }
    }
    if (dot == String::npos) {
        parts.name = path.substr(nameStart);
    } else {
        parts.name = path.substr(nameStart, dot - nameStart);
        parts.ext = path.substr(dot);
    }
    return parts;
}

} // namespace

WidePathParts splitPath(const std::wstring& path) {
    return splitAny<std::wstring, WidePathParts>(path);
}

AnsiPathParts splitPath(const std::string& path) {
    return splitAny<std::string, AnsiPathParts>(path);
}

std::wstring directoryOf(const std::wstring& path) {
    const WidePathParts parts = splitPath(path);
    std::wstring dir = parts.drive + parts.dir;
    if (!dir.empty() && dir.back() != L'\\') {
        dir += L'\\';
    }
    return dir;
}

std::wstring fileTitleOf(const std::wstring& path) {
    return splitPath(path).name;
}

std::wstring fileNameOf(const std::wstring& path) {
    const WidePathParts parts = splitPath(path);
    return parts.name + parts.ext;
}

std::string fileNameOf(const std::string& path) {
    const AnsiPathParts parts = splitPath(path);
    return parts.name + parts.ext;
}

std::wstring toHostPath(const std::wstring& path) {
    std::wstring out = path.substr(0, kNameCapacity - 1);
    for (wchar_t& c : out) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return out;
}

int compareNoCase(const wchar_t* a, const wchar_t* b) {
    static const wchar_t kEmpty[1] = {0};
    if (a == nullptr) {
        a = kEmpty;
    }
    if (b == nullptr) {
        b = kEmpty;
    }
    for (;; ++a, ++b) {
        long ca = static_cast<long>(*a);
        long cb = static_cast<long>(*b);
        if (ca >= 'A' && ca <= 'Z') {
            ca += 'a' - 'A';
        }
        if (cb >= 'A' && cb <= 'Z') {
            cb += 'a' - 'A';
        }
        if (ca != cb || ca == 0) {
            return ca < cb ? -1 : (ca > cb ? 1 : 0);
        }
    }
}

} // namespace yfx
