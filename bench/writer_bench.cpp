// Times the version 31 writer into a file and into memory, and the container
// step, against zlib's own compress (default level) of the same bytes, on the
// synthetic scene; prints the medians of three runs and their ratios, and the
// container's size against compress's output.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include <zlib.h>

#include "format/byte_sink.h"
#include "format/container.h"
#include "format/file_layout.h"
#include "format/writer_v31.h"
#include "platform/temp_file.h"
#include "synthetic_scene.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long fileSize(const std::wstring& path) {
    std::FILE* f = yfx::openHostFile(path, "rb");
    if (f == nullptr) {
        return -1;
    }
    const long size = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
    std::fclose(f);
    return size;
}

} // namespace

int main() {
    using namespace yfx;
    using Clock = std::chrono::steady_clock;

    SceneDoc doc;
    auto t0 = Clock::now();
    yfx_bench::buildSyntheticScene(doc);
    const double build = secondsSince(t0);
    std::printf("synthetic scene: %zu vertices, %zu quads, %zu materials, %zu bones (%.2f s)\n",
                doc.vertices.size(), doc.meshes[0].polygons.size(), doc.materials.size(),
                doc.bones.size(), build);

    WriterOptions options;
    options.export_lights = options.export_materials = options.export_uvs = 1;
    options.export_uvsets = options.export_joints = options.export_animation = 1;
    options.creator_text = L"Marrowmap Pro Filter for Daz Studio 4.x";
    options.version_text = L"v3.0";
    options.time_text = L"Thu Jan  1 00:00:00 1970";

    // Three runs of every step; the medians are printed.
    std::vector<double> writeFile, writeMemory, container, zlibOnly;
    FileHeader header;
    int written = 1;
    int packed = 1;
    int z = Z_OK;
    uLongf length = 0;
    long containerSize = -1;
    for (int run = 0; run < 3; ++run) {
        std::wstring temp;
        std::wstring target;
        if (createTempFile(temp) != 1 || createTempFile(target) != 1) {
            std::fprintf(stderr, "cannot create temporary files\n");
            return 1;
        }
        // Inner stream into a file, as the export does.
        std::FILE* f = openHostFile(temp, "wb");
        header = FileHeader();
        t0 = Clock::now();
        written &= f != nullptr ? writeDocument(doc, options, f, header) : 0;
        if (f != nullptr) {
            std::fclose(f);
        }
        writeFile.push_back(secondsSince(t0));

        // The same into memory, the bytes left where the sink holds them.
        MemorySink sink;
        FileHeader h;
        t0 = Clock::now();
        written &= writeDocument(doc, options, sink, h);
        writeMemory.push_back(secondsSince(t0));

        t0 = Clock::now();
        packed &= packContainer(header, temp, target);
        container.push_back(secondsSince(t0));
        containerSize = fileSize(target);
        deleteHostFile(target);

        std::vector<std::uint8_t> out(compressBound(uLong(sink.size())));
        length = out.size();
        t0 = Clock::now();
        z = compress(out.data(), &length, sink.data(), uLong(sink.size()));
        zlibOnly.push_back(secondsSince(t0));
    }

    const double mb = double(header.size) / 1e6;
    const double compressed = double(containerSize) - double(kHeaderSize);
    std::printf("inner stream: %u bytes (%.1f MB), writer result %d; medians of 3 runs\n",
                header.size, mb, written);
    std::printf("write to file:   %.3f s  %.0f MB/s\n", median(writeFile), mb / median(writeFile));
    std::printf("write to memory: %.3f s  %.0f MB/s\n", median(writeMemory),
                mb / median(writeMemory));
    std::printf("container step:  %.3f s  (result %d, %ld bytes)\n", median(container), packed,
                containerSize);
    std::printf("zlib compress:   %.3f s  (result %d, %lu bytes)\n", median(zlibOnly), z,
                static_cast<unsigned long>(length));
    std::printf("memory / file: %.3f\n", median(writeMemory) / median(writeFile));
    std::printf("container / compress: %.3f\n", median(container) / median(zlibOnly));
    std::printf("compressed size / compress's: %.4f\n", compressed / double(length));
    return written == 1 && packed == 1 ? 0 : 1;
}
