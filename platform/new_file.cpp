#include "platform/new_file.h"

#include "platform/temp_file.h"

#include <cerrno>
#include <new>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace yfx {

std::FILE* createNewFile(const std::filesystem::path& path) {
#if defined(_WIN32)
    const int fd =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
    if (fd < 0) {
        return nullptr;
    }
#if defined(_WIN32)
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        _close(fd);
        errno = error;
    }
#else
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
#endif
    return file;
}

std::filesystem::path hostFileSystemPath(const std::wstring& hostPath) {
#if defined(_WIN32)
    return std::filesystem::path(hostPath);
#else
    return std::filesystem::path(nativePath(hostPath));
#endif
}

std::FILE* createNewHostFile(const std::wstring& path) {
    try {
        return createNewFile(hostFileSystemPath(path));
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return nullptr;
    }
}

} // namespace yfx
