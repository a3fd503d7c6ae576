// Times loadFile on the synthetic scene written as a version 31 container,
// against zlib's own uncompress of the container's body, and prints the
// medians of three runs and their ratio. The load inflates, parses and
// normalises, so the ratio says what the reader adds to the inflation alone;
// the load's inflation step (inflateStream, as the reader calls it) is timed
// apart as well. Last, one load in a fresh process gives the load's peak
// resident memory against the inflated stream's size. Each loaded document
// is also drawn as a 1024 x 1024 scene picture (front view, no textures), and
// that time is set against the load's own.
//
// usage: yfx_bench_reader [COPY]   (COPY: also leave the container there, for
// other tools to load)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <zlib.h>

#include "format/byte_sink.h"
#include "format/container.h"
#include "format/file_layout.h"
#include "format/inflate.h"
#include "format/load_file.h"
#include "format/writer_v31.h"
#include "load_peak.h"
#include "platform/temp_file.h"
#include "render/scene_picture.h"
#include "synthetic_scene.h"

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool writeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = yfx::openHostFile(path, "wb");
    if (f == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    using namespace yfx;
    const int child = yfx_bench::runLoadPeakChild(argc, argv);
    if (child >= 0) {
        return child;
    }
    using Clock = std::chrono::steady_clock;

    std::vector<std::uint8_t> container;
    std::size_t innerSize = 0;
    {
        SceneDoc doc;
        yfx_bench::buildSyntheticScene(doc);
        std::printf("synthetic scene: %zu vertices, %zu quads, %zu materials, %zu bones\n",
                    doc.vertices.size(), doc.meshes[0].polygons.size(), doc.materials.size(),
                    doc.bones.size());
        WriterOptions options;
        options.export_lights = options.export_materials = options.export_uvs = 1;
        options.export_uvsets = options.export_joints = options.export_animation = 1;
        options.time_text = L"Thu Jan  1 00:00:00 1970";
        MemorySink sink;
        FileHeader header;
        if (writeDocument(doc, options, sink, header) != 1 ||
            !buildContainer(sink.data(), sink.size(), kHeaderSize, container)) {
            std::fprintf(stderr, "cannot write the scene\n");
            return 1;
        }
        innerSize = sink.size();
    }
    std::wstring path;
    if (createTempFile(path) != 1 || !writeFile(path, container)) {
        std::fprintf(stderr, "cannot write the temporary file\n");
        return 1;
    }
    std::printf("container: %zu bytes, inner stream %zu bytes (%.1f MB)\n", container.size(),
                innerSize, double(innerSize) / 1e6);
    if (argc > 1) {
        std::vector<wchar_t> copy(std::strlen(argv[1]) + 1);
        if (std::mbstowcs(copy.data(), argv[1], copy.size()) == static_cast<std::size_t>(-1) ||
            !writeFile(copy.data(), container)) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    }

    // Three runs of each; the medians are printed.
    std::vector<double> load, inflateOnly, inflateStep, picture;
    int status = 1;
    bool drawn = true;
    int z = Z_OK;
    for (int run = 0; run < 3; ++run) {
        {
            SceneDoc doc;
            const auto t0 = Clock::now();
            const int s = loadFile(doc, path);
            load.push_back(secondsSince(t0));
            status = s != 1 ? s : status;
            render::ScenePictureSettings settings;
            settings.width = settings.height = 1024;
            RgbaImage image;
            const auto t1 = Clock::now();
            drawn = render::drawScenePicture(doc, settings, image) && drawn;
            picture.push_back(secondsSince(t1));
        }
        // The body from the first section offset on, as the reader inflates it.
        std::vector<std::uint8_t> out(innerSize);
        uLongf length = static_cast<uLongf>(out.size());
        const auto t0 = Clock::now();
        const int code = uncompress(out.data(), &length, container.data() + kHeaderSize,
                                    static_cast<uLong>(container.size() - kHeaderSize));
        inflateOnly.push_back(secondsSince(t0));
        z = code != Z_OK ? code : z;

        ByteBuffer image;
        std::string why;
        const auto t1 = Clock::now();
        const bool inflated =
            inflateStream(container.data() + kHeaderSize, container.size() - kHeaderSize,
                          static_cast<std::uint32_t>(innerSize), kInflateBudget, image, why);
        inflateStep.push_back(secondsSince(t1));
        status = inflated && image.size() == innerSize ? status : 0;
    }
    yfx_bench::measureLoadPeak(path, innerSize);
    deleteHostFile(path);

    std::printf("medians of 3 runs\n");
    std::printf("loadFile:        %.3f s  (status %d)\n", median(load), status);
    std::printf("zlib uncompress: %.3f s  (result %d)\n", median(inflateOnly), z);
    std::printf("inflateStream:   %.3f s\n", median(inflateStep));
    std::printf("loadFile / uncompress: %.2f\n", median(load) / median(inflateOnly));
    std::printf("inflateStream / uncompress: %.2f\n", median(inflateStep) / median(inflateOnly));
    std::printf("scene picture 1024x1024: %.3f s  (%s)\n", median(picture),
                drawn ? "drawn" : "FAILED");
    std::printf("scene picture / loadFile: %.3f\n", median(picture) / median(load));
    return status == 1 && z == Z_OK && drawn ? 0 : 1;
}
