// What the suites need of the file system and the environment, the same on
// POSIX and Windows: a fresh scratch folder per test, removed with everything
// in it; setting and removing environment variables; listing a folder (by its
// entries' wide names on Windows); symbolic links where the system lets a test make them.
// Paths are native std::string paths ('/' works as a separator on both
// systems); hostPath gives the plug-in's form of one.
#pragma once

#include <gtest/gtest.h>

#include "platform/utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace yfx_test {

namespace fs = std::filesystem;

// A path's text as the suites keep paths: UTF-8, '/' between components.
inline std::string pathText(const fs::path& path) {
    return path.generic_u8string();
}

// Makes a folder and everything below it writable again (a test may have
// taken the permissions away), so that it can be removed.
inline void makeWritable(const fs::path& path) {
    std::error_code ec;
    if (fs::symlink_status(path, ec).type() != fs::file_type::directory) {
        return;
    }
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        makeWritable(it->path());
    }
}

// Removes a file or a folder with everything in it; a missing one is fine.
inline void removeTree(const std::string& path) {
    std::error_code ec;
    fs::remove_all(fs::u8path(path), ec);
    if (ec) {
        makeWritable(fs::u8path(path));
        fs::remove_all(fs::u8path(path), ec);
    }
}

// A new, empty folder under the system's temporary folder, named PREFIX and a
// random suffix; removed with everything in it on destruction.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "yfx-test-") {
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        std::random_device device;
        std::mt19937_64 random(device() ^ reinterpret_cast<std::uintptr_t>(this));
        for (int attempt = 0; attempt < 32 && root_.empty() && !ec; ++attempt) {
            const fs::path candidate =
                base / (prefix + std::to_string(random() % 1000000000000ull));
            // create_directory is false, without an error, when the name exists.
            if (fs::create_directory(candidate, ec) && !ec) {
                root_ = candidate;
            }
        }
        EXPECT_FALSE(root_.empty()) << "cannot create a scratch folder: " << ec.message();
        if (!root_.empty()) {
            path_ = pathText(root_);
        }
    }
    ~ScratchFolder() {
        if (!root_.empty()) {
            removeTree(path_);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool ready() const { return !root_.empty(); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // Every file and folder below the scratch folder, relative and sorted.
    std::vector<std::string> tree() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (fs::recursive_directory_iterator it(root_, ec), end; !ec && it != end;
             it.increment(ec)) {
            out.push_back(pathText(fs::relative(it->path(), root_, ec)));
        }
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    fs::path root_;
    std::string path_;
};

// Creates a folder and the folders above it; false (with a test failure) when
// it cannot.
inline bool makeFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(fs::u8path(path), ec);
    EXPECT_FALSE(ec) << "cannot create " << path << ": " << ec.message();
    return !ec;
}

// The plug-in's form of a native path: '\' for every '/'.
inline std::wstring hostPath(const std::string& native) {
    std::wstring out;
    try {
        out = fs::u8path(native).wstring();
    } catch (const fs::filesystem_error&) {
        out.assign(native.begin(), native.end()); // not UTF-8: byte by byte
    }
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

// UTF-8 of UTF-16 text; a lone surrogate is encoded as it is, so that every
// name a folder can hold gives a distinct text.
inline std::string utf8OfUtf16(const std::wstring& wide) {
    std::string out;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        std::uint32_t c = static_cast<std::uint32_t>(wide[i]) & 0xFFFFu;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
            const std::uint32_t low = static_cast<std::uint32_t>(wide[i + 1]) & 0xFFFFu;
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        yfx::appendUtf8(out, c);
    }
    return out;
}

// The names of a folder's entries, sorted, as UTF-8; empty for a missing
// folder. Windows is asked for the wide names (a narrow listing would turn
// every character outside the ANSI code page into '?'); POSIX names are the
// bytes the folder holds.
inline std::set<std::string> entriesOf(const std::string& folder) {
    std::set<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(fs::u8path(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
#if defined(_WIN32)
        out.insert(utf8OfUtf16(it->path().filename().wstring()));
#else
        out.insert(it->path().filename().string());
#endif
    }
    return out;
}

// True when the path names a plain file itself (a link to one is not).
inline bool isPlainFile(const std::string& path) {
    std::error_code ec;
    return fs::symlink_status(fs::u8path(path), ec).type() == fs::file_type::regular;
}

// Makes LINK a symbolic link to the file TARGET. Empty on success, else why
// it cannot be made (Windows lets only privileged or developer-mode users).
inline std::string makeFileLink(const std::string& target, const std::string& link) {
    std::error_code ec;
    fs::create_symlink(fs::u8path(target), fs::u8path(link), ec);
    return ec ? ec.message() : std::string();
}

// Sets (or, with a null value, removes) an environment variable.
inline void setEnvironment(const char* name, const char* value) {
#if defined(_WIN32)
    // An empty value removes the variable on Windows.
    _putenv_s(name, value != nullptr ? value : "");
#else
    if (value != nullptr) {
        ::setenv(name, value, 1);
    } else {
        ::unsetenv(name);
    }
#endif
}

// Sets an environment variable for the life of the object and then puts the
// old value back (or removes it again).
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const char* name) : name_(name) {
        if (const char* old = std::getenv(name)) {
            had_ = true;
            old_ = old;
        }
    }
    ScopedEnvironment(const char* name, const char* value) : ScopedEnvironment(name) { set(value); }
    ~ScopedEnvironment() { setEnvironment(name_.c_str(), had_ ? old_.c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void set(const char* value) { setEnvironment(name_.c_str(), value); }

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

// Makes FOLDER the working folder for the life of the object.
class ScopedWorkingFolder {
public:
    explicit ScopedWorkingFolder(const std::string& folder) {
        std::error_code ec;
        previous_ = fs::current_path(ec);
        if (!ec) {
            fs::current_path(fs::u8path(folder), ec);
        }
        entered_ = !ec;
        EXPECT_TRUE(entered_) << "cannot work in " << folder << ": " << ec.message();
    }
    ~ScopedWorkingFolder() {
        std::error_code ec;
        if (entered_) {
            fs::current_path(previous_, ec);
        }
        EXPECT_FALSE(ec) << "cannot return to " << pathText(previous_);
    }
    ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
    ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

    bool entered() const { return entered_; }

private:
    fs::path previous_;
    bool entered_ = false;
};

} // namespace yfx_test
