#include "format/reader_file_system.h"

#include "platform/file_position.h"
#include "platform/temp_file.h"

#include <cstdio>
#include <new>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace yfx {

int readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& out, std::string& why) {
    std::vector<std::uint8_t>().swap(out);
    std::FILE* file = openHostFile(path, "rb");
    if (file == nullptr) {
        why = "cannot open the file";
        return -8;
    }
    int result = 0;
    const std::int64_t size = fileLength(file);
    if (size < 0) {
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
