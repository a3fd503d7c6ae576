// Writes the seed corpora of the fuzz targets. The reader's: the crafted
// scene in every sectioned version, plain and compressed, with damaged
// polygons and with its variant records; the writers' full scene in both
// written versions, plain and compressed; chunked (version 34) scenes, one
// with two meshes and an embedded file, plain, compressed and compressed
// twice. The import target's, when a second folder is given: every one of
// those behind each of the three option bytes.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "format/byte_sink.h"
#include "format/container.h"
#include "format/file_layout.h"
#include "format/test_scene.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "reader/chunked_builder.h"
#include "reader/crafted_file.h"

namespace {

using Seed = std::pair<std::string, yfx_test::ByteList>;

constexpr int kImportOptionSets = 3;

bool writeFile(const std::string& path, const yfx_test::ByteList& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

yfx_test::ByteList packed(const yfx_test::ByteList& inner, std::size_t headerSize) {
    yfx_test::ByteList out;
    yfx::buildContainer(inner.data(), inner.size(), headerSize, out);
    return out;
}

void addSectioned(std::vector<Seed>& seeds) {
    yfx_test::CraftedScene damaged;
    damaged.bad_polygons = true;
    yfx_test::CraftedScene variant;
    variant.groups = false;
    variant.duplicate_channel = true;
    variant.meshes = 2;
    variant.animation_count = 2;
    variant.flags = 0;
    for (int version = 6; version <= 33; ++version) {
        const std::string name = "v" + std::to_string(version);
        const yfx_test::ByteList file = yfx_test::craftFile(version);
        seeds.push_back({name + ".yfx", file});
        seeds.push_back({name + "_packed.yfx", yfx_test::craftContainer(file)});
        seeds.push_back({name + "_damaged.yfx", yfx_test::craftFile(version, damaged)});
        seeds.push_back({name + "_variant.yfx", yfx_test::craftFile(version, variant)});
    }
}

void addWritten(std::vector<Seed>& seeds) {
    const yfx::SceneDoc scene = yfx_test::makeFullScene();
    yfx::MemorySink v31;
    yfx::FileHeader header;
    if (yfx::writeDocument(scene, yfx_test::allOptions(), v31, header) == 1) {
        const yfx_test::ByteList bytes = v31.release();
        seeds.push_back({"written_v31.yfx", bytes});
        seeds.push_back({"written_v31_packed.yfx", packed(bytes, yfx::kHeaderSize)});
    }
    yfx::MemorySink v9;
    yfx::FileHeaderV2 headerV2;
    if (yfx::writeDocumentV2(scene, yfx_test::allOptions(), v9, headerV2) == 1) {
        const yfx_test::ByteList bytes = v9.release();
        seeds.push_back({"written_v9.yfx", bytes});
        seeds.push_back({"written_v9_packed.yfx", packed(bytes, yfx::kHeaderSizeV2)});
    }
}

void addChunked(std::vector<Seed>& seeds) {
    using namespace yfx_test;
    const ByteList scene = sceneFile();
    MeshSpec second;
    second.base = 10;
    second.vertices = 4;
    second.triangles = {{0, 1, 2}, {1, 2, 3}};
    MeshSpec first;
    first.links = 1;
    std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    chunks.push_back(meshContainer(kAllVertexFlags, {first, second}));
    ChunkWriter files;
    files.begin(tag::kEmbedded).i32(1).wname(L"t.png").u32(3);
    files.zeros(3);
    chunks.push_back(files.end().data);
    const ByteList full = chunkedFile(kAllVertexFlags, chunks);
    seeds.push_back({"v34.yfx", scene});
    seeds.push_back({"v34_plain_vertices.yfx", sceneFile(0)});
    seeds.push_back({"v34_two_meshes_files.yfx", full});
    seeds.push_back({"v34_packed.yfx", compressedChunked(full)});
    seeds.push_back({"v34_packed_twice.yfx", compressedChunked(compressedChunked(scene))});
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: yfx_fuzz_seeds READER_FOLDER [IMPORT_FOLDER]\n");
        return 2;
    }
    std::vector<Seed> seeds;
    addSectioned(seeds);
    addWritten(seeds);
    addChunked(seeds);
    for (const Seed& seed : seeds) {
        bool ok = writeFile(std::string(argv[1]) + "/" + seed.first, seed.second);
        for (int options = 0; argc == 3 && options < kImportOptionSets; ++options) {
            yfx_test::ByteList input(1, std::uint8_t(options));
            input.insert(input.end(), seed.second.begin(), seed.second.end());
            ok = ok &&
                 writeFile(std::string(argv[2]) + "/o" + std::to_string(options) + "_" + seed.first,
                           input);
        }
        if (!ok) {
            std::fprintf(stderr, "cannot write %s\n", seed.first.c_str());
            return 1;
        }
    }
    return 0;
}
