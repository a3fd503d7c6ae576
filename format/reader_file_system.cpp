#include "format/reader_file_system.h"

#include <cstdio>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace yfx {

namespace {

#ifdef _WIN32
std::FILE* openForReading(const std::wstring& path) {
    return _wfopen(path.c_str(), L"rb");
}
#else
// UTF-8 with "\" turned into "/", as POSIX file names expect.
std::string nativePath(const std::wstring& path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        std::uint32_t c = static_cast<std::uint32_t>(path[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size()) {
            const std::uint32_t low = static_cast<std::uint32_t>(path[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c == '\\') {
            c = '/';
        }
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
    return out;
}

std::FILE* openForReading(const std::wstring& path) {
    return std::fopen(nativePath(path).c_str(), "rb");
}
#endif

} // namespace

int readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& out, std::string& why) {
    std::vector<std::uint8_t>().swap(out);
    std::FILE* file = openForReading(path);
    if (file == nullptr) {
        why = "cannot open the file";
        return -8;
    }
    int result = 0;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = std::ftell(file);
    }
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        why = "cannot find the file's length";
    } else if (static_cast<std::uint64_t>(size) > 0xFFFFFFFFull) {
        why = "the file is larger than 4 GiB";
    } else {
        try {
            out.resize(static_cast<std::size_t>(size));
            if (std::fread(out.data(), 1, out.size(), file) == out.size()) {
                result = 1;
            } else {
                why = "cannot read the whole file";
            }
        } catch (const std::bad_alloc&) {
            why = "cannot allocate the file image";
        }
    }
    std::fclose(file);
    if (result != 1) {
        std::vector<std::uint8_t>().swap(out);
    }
    return result;
}

bool fileExistsAt(const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat info;
    const std::string native = nativePath(path);
    return stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

} // namespace yfx
