// A fresh folder per test, removed with everything in it afterwards, and the
// few file helpers the export tests need. Paths are native (POSIX) paths;
// hostPath gives the plug-in's form of one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace yfx_test {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "yfx-export-XXXXXX").string();
        if (::mkdtemp(&pattern[0]) != nullptr) {
            path_ = pattern;
        }
        EXPECT_FALSE(path_.empty()) << "cannot create a scratch folder";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

    // Every file and folder below the scratch folder, relative and sorted.
    std::vector<std::string> tree() const {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
            out.push_back(std::filesystem::relative(entry.path(), path_).string());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::string path_;
};

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The plug-in's form of a native path: "\" for every "/".
inline std::wstring hostPath(const std::string& native) {
    std::wstring out(native.begin(), native.end());
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

} // namespace yfx_test
