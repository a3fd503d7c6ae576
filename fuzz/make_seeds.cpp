// Writes the seed corpus of the reader's fuzz target into a folder: the
// crafted scene in every sectioned version, plain and compressed, and a
// chunked (version 34) scene.
#include <cstdio>
#include <string>
#include <vector>

#include "reader/chunked_builder.h"
#include "reader/crafted_file.h"

namespace {

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: yfx_reader_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    for (int version = 6; version <= 33; ++version) {
        const std::vector<std::uint8_t> file = yfx_test::craftFile(version);
        const std::string name = folder + "v" + std::to_string(version);
        if (!writeFile(name + ".yfx", file) ||
            !writeFile(name + "_packed.yfx", yfx_test::craftContainer(file))) {
            std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
            return 1;
        }
    }
    // The chunked layout: plain, with every vertex flag, compressed and
    // compressed twice.
    const std::vector<std::uint8_t> chunked = yfx_test::sceneFile();
    if (!writeFile(folder + "v34.yfx", chunked) ||
        !writeFile(folder + "v34_plain_vertices.yfx", yfx_test::sceneFile(0)) ||
        !writeFile(folder + "v34_packed.yfx", yfx_test::compressedChunked(chunked)) ||
        !writeFile(folder + "v34_packed_twice.yfx",
                   yfx_test::compressedChunked(yfx_test::compressedChunked(chunked)))) {
        std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
