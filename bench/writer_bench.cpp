// Times the version 31 writer and the container step on the synthetic scene,
// against zlib's own compress of the same bytes, and prints the figures.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include <zlib.h>

#include "format/container.h"
#include "format/writer_v31.h"
#include "platform/temp_file.h"
#include "synthetic_scene.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

    std::wstring temp;
    std::wstring target;
    if (createTempFile(temp) != 1 || createTempFile(target) != 1) {
        std::fprintf(stderr, "cannot create temporary files\n");
        return 1;
    }

    // Inner stream into a file, as the export does.
    std::FILE* f = openHostFile(temp, "wb");
    FileHeader header;
    t0 = Clock::now();
    const int written = f != nullptr ? writeDocument(doc, options, f, header) : 0;
    if (f != nullptr) {
        std::fclose(f);
    }
    const double writeFile = secondsSince(t0);
    const double mb = double(header.size) / 1e6;

    // The same into memory (no file system cost).
    double writeMemory = 0;
    std::vector<std::uint8_t> inner;
    {
        MemorySink sink;
        FileHeader h;
        t0 = Clock::now();
        writeDocument(doc, options, sink, h);
        writeMemory = secondsSince(t0);
        inner = sink.release();
    }

    t0 = Clock::now();
    const int packed = packContainer(header, temp, target);
    const double container = secondsSince(t0);

    std::vector<std::uint8_t> out(compressBound(uLong(inner.size())));
    uLongf length = out.size();
    t0 = Clock::now();
    const int z = compress(out.data(), &length, inner.data(), uLong(inner.size()));
    const double zlibOnly = secondsSince(t0);

    std::printf("inner stream: %u bytes (%.1f MB), writer result %d\n", header.size, mb, written);
    std::printf("write to file:   %.3f s  %.0f MB/s\n", writeFile, mb / writeFile);
    std::printf("write to memory: %.3f s  %.0f MB/s\n", writeMemory, mb / writeMemory);
    std::printf("container step:  %.3f s  (result %d)\n", container, packed);
    std::printf("zlib compress:   %.3f s  (result %d, %lu bytes)\n", zlibOnly, z,
                static_cast<unsigned long>(length));
    std::printf("container / compress: %.3f\n", container / zlibOnly);
    deleteHostFile(target);
    return written == 1 && packed == 1 ? 0 : 1;
}
