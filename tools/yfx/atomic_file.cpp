#include "tools/yfx/atomic_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace yfx {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 64;

std::string text(const fs::path& path) {
    return path.u8string();
}

// Creates a file that did not exist before ("x": fails if it does).
std::FILE* createNew(const fs::path& path) {
#if defined(_WIN32)
    return _wfopen(path.c_str(), L"wbx");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

// A new, empty temporary file beside the target, named after it.
std::FILE* createTemp(const fs::path& target, fs::path& temp, std::string& error) {
    fs::path dir = target.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    std::random_device device;
    std::mt19937_64 random(
        device() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".tmp-%012llx",
                      static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        temp = dir / fs::u8path("." + target.filename().u8string() + suffix);
        errno = 0;
        if (std::FILE* f = createNew(temp)) {
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

} // namespace

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
    fs::path temp;
    std::FILE* f = createTemp(target, temp, error);
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
    fs::rename(temp, target, ec);
    if (ec) {
        removeQuietly(temp);
        error = "cannot put the new file in place of " + path + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace yfx
