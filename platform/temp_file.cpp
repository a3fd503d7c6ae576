#include "platform/temp_file.h"

#include "platform/utf8.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <new>
#include <string>
#include <vector>

namespace yfx {

#if defined(_WIN32)

std::wstring systemTempDirectory() {
    wchar_t dir[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, dir);
    return n == 0 || n > MAX_PATH ? std::wstring() : std::wstring(dir, n);
}

int createTempFile(std::wstring& path) {
    path.clear();
    wchar_t dir[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, dir);
    if (n == 0 || n > MAX_PATH) {
        return 0;
    }
    wchar_t name[MAX_PATH];
    // Unique number 0: the system picks a free name and creates the file.
    if (GetTempFileNameW(dir, L"yfx", 0, name) == 0) {
        return 0;
    }
    path = name;
    return 1;
}

std::FILE* openHostFile(const std::wstring& path, const char* mode) {
    if (mode == nullptr) {
        return nullptr;
    }
    std::wstring wideMode;
    for (const char* p = mode; *p != 0; ++p) {
        wideMode += static_cast<wchar_t>(*p);
    }
    return _wfopen(path.c_str(), wideMode.c_str());
}

int deleteHostFile(const std::wstring& path) {
    return DeleteFileW(path.c_str()) ? 1 : 0;
}

bool hostFileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

#else

// The native form of a host path: UTF-8 with "/" separators.
std::string nativePath(const std::wstring& path) {
    std::string out = wideToUtf8(path);
    for (char& c : out) {
        if (c == '\\') {
            c = '/';
        }
    }
    return out;
}

namespace {

std::wstring widePath(const std::string& native) {
    std::wstring out;
    for (std::size_t i = 0; i < native.size();) {
        const unsigned char b = static_cast<unsigned char>(native[i]);
        std::uint32_t c = b;
        std::size_t extra = 0;
        if (b >= 0xF0) {
            c = b & 0x07;
            extra = 3;
        } else if (b >= 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if (b >= 0xC0) {
            c = b & 0x1F;
            extra = 1;
        }
        ++i;
        for (std::size_t k = 0; k < extra && i < native.size(); ++k, ++i) {
            c = (c << 6) | (static_cast<unsigned char>(native[i]) & 0x3F);
        }
        out += static_cast<wchar_t>(c);
    }
    return out;
}

std::string tempDirectory() {
    const char* dir = std::getenv("TMPDIR");
    std::string out = dir != nullptr && *dir != 0 ? dir : "/tmp";
    if (out.back() != '/') {
        out += '/';
    }
    return out;
}

} // namespace

std::wstring systemTempDirectory() {
    try {
        return widePath(tempDirectory());
    } catch (const std::bad_alloc&) {
        return std::wstring();
    }
}

int createTempFile(std::wstring& path) {
    path.clear();
    try {
        const std::string pattern = tempDirectory() + "yfxXXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back(0);
        const int fd = mkstemp(name.data());
        if (fd < 0) {
            return 0;
        }
        close(fd);
        path = widePath(name.data());
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

std::FILE* openHostFile(const std::wstring& path, const char* mode) {
    if (mode == nullptr) {
        return nullptr;
    }
    try {
        return std::fopen(nativePath(path).c_str(), mode);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int deleteHostFile(const std::wstring& path) {
    try {
        return std::remove(nativePath(path).c_str()) == 0 ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

bool hostFileExists(const std::wstring& path) {
    try {
        struct stat st;
        return stat(nativePath(path).c_str(), &st) == 0;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

#endif

} // namespace yfx
