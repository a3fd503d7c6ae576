// A fresh folder per test (support/test_files.h), removed with everything in
// it afterwards, and the few file helpers the export tests need. hostPath
// gives the plug-in's form of a path.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "support/test_files.h"

namespace yfx_test {

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace yfx_test
