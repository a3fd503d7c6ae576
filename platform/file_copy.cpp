#include "platform/file_copy.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/temp_file.h"
#endif

#include <new>

namespace yfx {

#if defined(_WIN32)

bool hostDirectoryExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {

bool fileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    // No access rights are needed to read a file's identity; backup semantics
    // let a directory be opened too.
    HANDLE handle =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    const BOOL ok = GetFileInformationByHandle(handle, &info);
    CloseHandle(handle);
    return ok != 0;
}

} // namespace

bool sameHostFile(const std::wstring& first, const std::wstring& second) {
    BY_HANDLE_FILE_INFORMATION a;
    BY_HANDLE_FILE_INFORMATION b;
    if (!fileIdentity(first, a) || !fileIdentity(second, b)) {
        return false;
    }
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

CopyResult copyHostFileNoOverwrite(const std::wstring& source, const std::wstring& destination) {
    if (CopyFileW(source.c_str(), destination.c_str(), TRUE)) {
        return CopyResult::kCopied;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS
               ? CopyResult::kDestinationExists
               : CopyResult::kFailed;
}

#else

namespace {

bool statPath(const std::wstring& path, struct stat& st) {
    try {
        return stat(nativePath(path).c_str(), &st) == 0;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Writes all of buffer[0, size), going on after short writes and interrupts.
bool writeAll(int fd, const char* buffer, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, buffer, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        buffer += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool copyBytes(int from, int to) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = read(from, buffer, sizeof buffer);
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (!writeAll(to, buffer, static_cast<std::size_t>(n))) {
            return false;
        }
    }
}

} // namespace

bool hostDirectoryExists(const std::wstring& path) {
    struct stat st;
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

bool sameHostFile(const std::wstring& first, const std::wstring& second) {
    struct stat a;
    struct stat b;
    return statPath(first, a) && statPath(second, b) && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

CopyResult copyHostFileNoOverwrite(const std::wstring& source, const std::wstring& destination) {
    std::string from;
    std::string to;
    try {
        from = nativePath(source);
        to = nativePath(destination);
    } catch (const std::bad_alloc&) {
        return CopyResult::kFailed;
    }
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return CopyResult::kFailed;
    }
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const int error = errno;
        close(in);
        return error == EEXIST ? CopyResult::kDestinationExists : CopyResult::kFailed;
    }
    bool ok = copyBytes(in, out);
    close(in);
    ok = close(out) == 0 && ok;
    if (!ok) {
        // A partial copy would later pass for the texture itself.
        unlink(to.c_str());
        return CopyResult::kFailed;
    }
    return CopyResult::kCopied;
}

#endif

} // namespace yfx
