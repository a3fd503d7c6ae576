#include "load_peak.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "format/load_file.h"
#include "platform/utf8.h"

#if defined(__linux__)
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace yfx_bench {

#if defined(__linux__)
namespace {

double megabytes(std::uint64_t bytes) {
    return double(bytes) / 1e6;
}

// Bytes the document's large arrays hold: the arrays themselves at their
// capacity, and the heap blocks of corner and weight lists that outgrew
// their inline room.
struct Footprint {
    std::uint64_t polygons = 0, polygon_count = 0;
    std::uint64_t vertices = 0, vertex_count = 0;
    std::uint64_t uvs = 0, uv_count = 0;
};

Footprint footprintOf(const yfx::SceneDoc& doc) {
    Footprint f;
    f.vertex_count = doc.vertices.size();
    f.vertices = doc.vertices.capacity() * sizeof(yfx::DocVertex);
    for (const yfx::DocVertex& vertex : doc.vertices) {
        f.vertices +=
            vertex.weights.isInline() ? 0 : vertex.weights.capacity() * sizeof(yfx::DocWeight);
    }
    const auto addUVSets = [&f](const std::vector<yfx::DocUVSet>& sets) {
        for (const yfx::DocUVSet& set : sets) {
            f.uv_count += set.uvs.size();
            f.uvs += set.uvs.capacity() * sizeof(yfx::DocUV) +
                     set.links.capacity() * sizeof(yfx::DocFaceLink);
        }
    };
    addUVSets(doc.uvsets);
    for (const yfx::DocMesh& mesh : doc.meshes) {
        addUVSets(mesh.uvsets);
        f.polygon_count += mesh.polygons.size();
        f.polygons += mesh.polygons.capacity() * sizeof(yfx::DocPolygon);
        for (const yfx::DocPolygon& polygon : mesh.polygons) {
            f.polygons += polygon.corners.isInline()
                              ? 0
                              : polygon.corners.capacity() * sizeof(yfx::DocCorner);
        }
    }
    return f;
}

// A "Name:   N kB" line of /proc/self/status, in bytes; 0 when absent.
std::uint64_t statusBytes(const char* name) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return 0;
    }
    char line[256];
    unsigned long long kilobytes = 0;
    const std::size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
            kilobytes = std::strtoull(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kilobytes * 1024u;
}

} // namespace
#endif

int runLoadPeakChild(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], kLoadPeakArgument) != 0) {
        return -1;
    }
#if defined(__linux__)
    // The parent passes the host path as UTF-8.
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::vector<wchar_t> wide(std::strlen(argv[2]) + 1);
    if (std::mbstowcs(wide.data(), argv[2], wide.size()) == static_cast<std::size_t>(-1)) {
        std::fprintf(stderr, "load peak: the path is not UTF-8\n");
        return 1;
    }
    const std::wstring path(wide.data());
    const double inner = double(std::strtoull(argv[3], nullptr, 10));
    const std::uint64_t before = statusBytes("VmRSS");
    yfx::SceneDoc doc;
    std::string reason;
    const int status = yfx::loadFile(doc, path, &reason, yfx::inspectionLoad());
    if (status != 1) {
        std::fprintf(stderr, "load peak: the file did not load (status %d): %s\n", status,
                     reason.c_str());
        return 1;
    }
    const Footprint f = footprintOf(doc);
    const auto line = [inner](const char* what, std::uint64_t bytes, std::uint64_t count) {
        std::printf("  %-9s %9.1f MB  %6.3f x the stream  %10llu records, %6.1f bytes each\n", what,
                    megabytes(bytes), double(bytes) / inner, static_cast<unsigned long long>(count),
                    count > 0 ? double(bytes) / double(count) : 0.0);
    };
    std::printf("loaded document (sizeof: polygon %zu, corner %zu, vertex %zu, UV %zu bytes):\n",
                sizeof(yfx::DocPolygon), sizeof(yfx::DocCorner), sizeof(yfx::DocVertex),
                sizeof(yfx::DocUV));
    line("polygons", f.polygons, f.polygon_count);
    line("vertices", f.vertices, f.vertex_count);
    line("UVs", f.uvs, f.uv_count);
    const std::uint64_t peak = statusBytes("VmHWM");
    std::printf("  resident before the load (code, libraries): %.1f MB\n", megabytes(before));
    std::printf("loadFile peak resident (fresh process): %.1f MB, %.2f x the inflated stream "
                "(%.1f MB)\n",
                megabytes(peak), double(peak) / inner, inner / 1e6);
    std::fflush(stdout);
    return peak > 0 ? 0 : 1;
#else
    (void)argv;
    return 1;
#endif
}

bool measureLoadPeak(const std::wstring& path, std::uint64_t innerSize) {
#if defined(__linux__)
    std::fflush(stdout);
    const std::string file = yfx::wideToUtf8(path);
    const std::string inner = std::to_string(innerSize);
    char self[] = "/proc/self/exe";
    char* const args[] = {self, const_cast<char*>(kLoadPeakArgument),
                          const_cast<char*>(file.c_str()), const_cast<char*>(inner.c_str()),
                          nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self, nullptr, nullptr, args, environ) != 0) {
        std::fprintf(stderr, "load peak: cannot start the child\n");
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "load peak: the child failed\n");
        return false;
    }
    return true;
#else
    (void)path;
    (void)innerSize;
    return false;
#endif
}

} // namespace yfx_bench
