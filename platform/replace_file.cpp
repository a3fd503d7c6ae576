#include "platform/replace_file.h"

#include "platform/new_file.h"
#include "platform/path.h"
#include "platform/temp_file.h"
#include "platform/utf8.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <random>
#include <system_error>

namespace yfx {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 64;

std::string text(const fs::path& path) {
    return path.u8string();
}

// ".tmp-" and 12 random hex digits.
std::string randomSuffix() {
    static std::mt19937_64 random = [] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        return std::mt19937_64(device() ^ static_cast<std::uint64_t>(now));
    }();
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".tmp-%012llx",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return suffix;
}

// Creates and opens a new file in `dir` whose path `pathFor` makes from a
// random suffix, trying other suffixes while the name is taken.
template <class PathFor>
std::FILE* openNewBeside(const fs::path& dir, PathFor pathFor, fs::path& created,
                         std::string& error) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        created = pathFor(randomSuffix());
        errno = 0;
        if (std::FILE* f = createNewFile(created)) {
            return f;
        }
        if (errno != EEXIST) {
            error = "cannot create a temporary file in " + text(dir) + ": " +
                    std::strerror(errno != 0 ? errno : EIO);
            return nullptr;
        }
    }
    error = "cannot find a free temporary file name in " + text(dir);
    return nullptr;
}

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

bool renamePath(const fs::path& source, const fs::path& target, const std::string& targetText,
                std::string& error) {
    std::error_code ec;
    fs::rename(source, target, ec);
    if (ec) {
        error = "cannot put the new file in place of " + targetText + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace

bool hostIsFolder(const std::wstring& path) {
    try {
        std::error_code ec;
        return fs::is_directory(hostFileSystemPath(path), ec);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool createFileBeside(const std::wstring& target, std::wstring& created, std::string& error) {
    created.clear();
    try {
        const std::wstring dir = directoryOf(target);
        const std::wstring name = fileNameOf(target);
        if (name.empty()) {
            error = "'" + wideToUtf8(target) + "' names no file";
            return false;
        }
        // The new file's host path is built as text, so that it keeps the host
        // convention; only the file system sees the native form.
        std::wstring hostPath;
        const auto pathFor = [&](const std::string& suffix) {
            hostPath = dir + L"." + name;
            hostPath.append(suffix.begin(), suffix.end());
            return hostFileSystemPath(hostPath);
        };
        fs::path chosen;
        const fs::path dirPath = dir.empty() ? fs::path(".") : hostFileSystemPath(dir);
        std::FILE* f = openNewBeside(dirPath, pathFor, chosen, error);
        if (f == nullptr) {
            return false;
        }
        if (std::fclose(f) != 0) {
            removeQuietly(chosen);
            error = "cannot create a temporary file in " + text(dirPath);
            return false;
        }
        created = hostPath;
        return true;
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
}

bool renameOver(const std::wstring& source, const std::wstring& target, std::string& error) {
    try {
        const fs::path targetPath = hostFileSystemPath(target);
        return renamePath(hostFileSystemPath(source), targetPath, text(targetPath), error);
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
    }
}

bool replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::string& error) {
    const fs::path target = fs::u8path(path);
    std::error_code ec;
    if (path.empty() || target.filename().empty()) {
        error = "'" + path + "' names no file";
        return false;
    }
    if (fs::is_directory(target, ec)) {
        error = path + " is a folder";
        return false;
    }
    fs::path dir = target.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    const std::string name = target.filename().u8string();
    fs::path temp;
    std::FILE* f = openNewBeside(
        dir, [&](const std::string& suffix) { return dir / fs::u8path("." + name + suffix); }, temp,
        error);
    if (f == nullptr) {
        return false;
    }
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = std::fflush(f) == 0;
    const int writeErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed) {
        removeQuietly(temp);
        error =
            "cannot write " + text(temp) + ": " + std::strerror(writeErrno != 0 ? writeErrno : EIO);
        return false;
    }
    if (!renamePath(temp, target, path, error)) {
        removeQuietly(temp);
        return false;
    }
    return true;
}

} // namespace yfx
