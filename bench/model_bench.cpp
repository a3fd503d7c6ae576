// Times `yfx convert MODEL OUT.yfx` on a large glTF against Assimp alone
// reading the same file with the same post-processing steps
// (model/read_steps.h).
//
// The model (written here as .gltf and .bin, not timed): a grid of POLYGONS
// triangles (default 1,000,000) in two primitives with two materials,
// positions, normals, two UV channels, skinned to a chain of 16 bones with
// two weights per vertex, and a 1 s animation of every bone (31 frames at
// the host's 30 frames per second).
//
// Three runs of each, medians, processor time of the process (std::clock),
// so that other work on a shared machine does not inflate them:
// - Assimp alone: Assimp::Importer::ReadFile with the conversion's steps;
// - the conversion in process, as `yfx convert` runs it: Assimp's read, the
//   scene builder, the plug-in module's exporter (loaded as the host loads it)
//   with the default flags; its phases told apart by the host's progress
//   reports (reading and building until the export starts; the writing
//   phase, which holds the container step);
// - the container step alone: the written file's inner stream packed again
//   in memory (format/container.h).
// The ratio is (conversion - container step) / Assimp alone; the target is 2
// or less.
//
// usage: yfx_bench_model [POLYGONS]
#include "format/container.h"
#include "model/read_steps.h"
#include "tools/yfx/filter_run.h"
#include "tools/yfx/host_app.h"
#include "tools/yfx/model_convert.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <dzapp.h>
#include <dzprogress.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <nlohmann/json.hpp>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

constexpr int kBones = 16;
constexpr int kKeys = 11; // animation keys per bone over 1 s

double processorSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

struct Bytes {
    std::vector<unsigned char> data;
    template <class T> void put(T v) {
        const auto* p = reinterpret_cast<const unsigned char*>(&v);
        data.insert(data.end(), p, p + sizeof v);
    }
};

// Appends an accessor over data just written; returns its index.
int accessor(json& doc, Bytes& bin, std::size_t start, int count, int component, const char* type,
             json minMax = json()) {
    doc["bufferViews"].push_back(
        {{"buffer", 0}, {"byteOffset", start}, {"byteLength", bin.data.size() - start}});
    json a = {{"bufferView", doc["bufferViews"].size() - 1},
              {"componentType", component},
              {"count", count},
              {"type", type}};
    if (!minMax.is_null()) {
        a["min"] = minMax[0];
        a["max"] = minMax[1];
    }
    doc["accessors"].push_back(a);
    while (bin.data.size() % 4 != 0) {
        bin.data.push_back(0);
    }
    return int(doc["accessors"].size()) - 1;
}

// The grid model; returns the .gltf path.
std::string writeGrid(const std::string& folder, long long polygons) {
    const long long quads = std::max(1LL, polygons / 2);
    const int cols = int(std::max(1.0, std::sqrt(double(quads))));
    const int rows = int((quads + cols - 1) / cols);
    const int vertices = (cols + 1) * (rows + 1);
    json doc = {{"asset", {{"version", "2.0"}}},
                {"scene", 0},
                {"bufferViews", json::array()},
                {"accessors", json::array()}};
    Bytes bin;
    std::size_t start = bin.data.size();
    const double size = 2.0; // metres
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c <= cols; ++c) {
            bin.put(float(size * c / cols - size / 2));
            bin.put(float(size * r / rows));
            bin.put(float(0.05 * std::sin(c * 0.3) * std::cos(r * 0.2)));
        }
    }
    const int position = accessor(doc, bin, start, vertices, 5126, "VEC3",
                                  json::array({{-size / 2, 0, -0.05}, {size / 2, size, 0.05}}));
    start = bin.data.size();
    for (int v = 0; v < vertices; ++v) {
        bin.put(0.0f), bin.put(0.0f), bin.put(1.0f);
    }
    const int normal = accessor(doc, bin, start, vertices, 5126, "VEC3");
    int uv[2];
    for (int k = 0; k < 2; ++k) {
        start = bin.data.size();
        for (int r = 0; r <= rows; ++r) {
            for (int c = 0; c <= cols; ++c) {
                bin.put(float(c) / cols * (k + 1)), bin.put(float(r) / rows);
            }
        }
        uv[k] = accessor(doc, bin, start, vertices, 5126, "VEC2");
    }
    // Two weights per vertex: the bone of its height band and the next one.
    start = bin.data.size();
    std::vector<float> weights;
    for (int r = 0; r <= rows; ++r) {
        const double band = double(r) / (rows + 1) * kBones;
        const int b = std::min(int(band), kBones - 1);
        const float f = float(band - b);
        for (int c = 0; c <= cols; ++c) {
            bin.put(std::uint16_t(b)), bin.put(std::uint16_t(std::min(b + 1, kBones - 1)));
            bin.put(std::uint16_t(0)), bin.put(std::uint16_t(0));
            weights.insert(weights.end(), {1 - f, f, 0, 0});
        }
    }
    const int joints = accessor(doc, bin, start, vertices, 5123, "VEC4");
    start = bin.data.size();
    for (float w : weights) {
        bin.put(w);
    }
    const int weight = accessor(doc, bin, start, vertices, 5126, "VEC4");
    // Two primitives: the lower and the upper half of the rows.
    json primitives = json::array();
    for (int half = 0; half < 2; ++half) {
        start = bin.data.size();
        int count = 0;
        for (int r = half * rows / 2; r < (half + 1) * rows / 2 || (half == 1 && r < rows); ++r) {
            for (int c = 0; c < cols; ++c) {
                const std::uint32_t a = std::uint32_t(r * (cols + 1) + c), b = a + 1,
                                    d = a + std::uint32_t(cols + 1), e = d + 1;
                for (std::uint32_t i : {a, b, e, a, e, d}) {
                    bin.put(i);
                }
                count += 6;
            }
        }
        const int indices = accessor(doc, bin, start, count, 5125, "SCALAR");
        primitives.push_back({{"attributes",
                               {{"POSITION", position},
                                {"NORMAL", normal},
                                {"TEXCOORD_0", uv[0]},
                                {"TEXCOORD_1", uv[1]},
                                {"JOINTS_0", joints},
                                {"WEIGHTS_0", weight}}},
                              {"indices", indices},
                              {"material", half}});
    }
    doc["meshes"] = {{{"name", "Grid"}, {"primitives", primitives}}};
    doc["materials"] = {
        {{"name", "Lower"}, {"pbrMetallicRoughness", {{"baseColorFactor", {0.8, 0.6, 0.5, 1}}}}},
        {{"name", "Upper"}, {"pbrMetallicRoughness", {{"baseColorFactor", {0.3, 0.4, 0.8, 1}}}}}};
    // The bone chain: node 0 the grid, nodes 1 .. kBones the bones.
    json nodes = json::array({{{"name", "Grid"}, {"mesh", 0}, {"skin", 0}}});
    start = bin.data.size();
    for (int b = 0; b < kBones; ++b) {
        json node = {{"name", "bone" + std::to_string(b)},
                     {"translation", {0, b == 0 ? 0.0 : size / kBones, 0}}};
        if (b + 1 < kBones) {
            node["children"] = {b + 2};
        }
        nodes.push_back(node);
        const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, float(-size * b / kBones),
                             0, 1};
        for (float v : m) {
            bin.put(v);
        }
    }
    const int inverseBinds = accessor(doc, bin, start, kBones, 5126, "MAT4");
    doc["nodes"] = nodes;
    json jointList = json::array();
    for (int b = 0; b < kBones; ++b) {
        jointList.push_back(b + 1);
    }
    doc["skins"] = {{{"joints", jointList}, {"inverseBindMatrices", inverseBinds}}};
    doc["scenes"] = {{{"nodes", {0, 1}}}};
    // Every bone sways about z.
    start = bin.data.size();
    for (int k = 0; k < kKeys; ++k) {
        bin.put(float(k) / (kKeys - 1));
    }
    const int times = accessor(doc, bin, start, kKeys, 5126, "SCALAR", json::array({{0.0}, {1.0}}));
    json samplers = json::array(), channels = json::array();
    for (int b = 0; b < kBones; ++b) {
        start = bin.data.size();
        for (int k = 0; k < kKeys; ++k) {
            const double half = 0.1 * std::sin(k * 0.6 + b) / 2;
            bin.put(0.0f), bin.put(0.0f), bin.put(float(std::sin(half))),
                bin.put(float(std::cos(half)));
        }
        samplers.push_back(
            {{"input", times}, {"output", accessor(doc, bin, start, kKeys, 5126, "VEC4")}});
        channels.push_back({{"sampler", b}, {"target", {{"node", b + 1}, {"path", "rotation"}}}});
    }
    doc["animations"] = {{{"name", "Sway"}, {"samplers", samplers}, {"channels", channels}}};
    doc["buffers"] = {{{"uri", "grid.bin"}, {"byteLength", bin.data.size()}}};
    QFile b(QString::fromStdString(folder + "/grid.bin"));
    b.open(QIODevice::WriteOnly);
    b.write(reinterpret_cast<const char*>(bin.data.data()), qint64(bin.data.size()));
    const std::string path = folder + "/grid.gltf";
    QFile g(QString::fromStdString(path));
    g.open(QIODevice::WriteOnly);
    g.write(QByteArray::fromStdString(doc.dump()));
    std::printf("model: %d x %d quads as %lld triangles, %d vertices, %d bones, grid.bin %.1f MB\n",
                cols, rows, 2LL * cols * rows, vertices, kBones, bin.data.size() / 1e6);
    return path;
}

// The inner stream of a written version 31 file (its body inflated).
std::vector<std::uint8_t> innerStream(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    std::uint32_t innerSize = 0, headerSize = 0;
    // The container's header: "YFXH", version, flags, the inner stream's
    // size (byte 12), ...; the first section offset (byte 20) is the header's
    // length, where the compressed body starts.
    std::memcpy(&innerSize, bytes.constData() + 12, 4);
    std::memcpy(&headerSize, bytes.constData() + 20, 4);
    std::vector<std::uint8_t> inner(innerSize);
    uLongf size = innerSize;
    const int status = uncompress(inner.data(), &size,
                                  reinterpret_cast<const Bytef*>(bytes.constData()) + headerSize,
                                  uLong(bytes.size()) - headerSize);
    if (status != Z_OK) {
        inner.clear();
    }
    inner.resize(size);
    return inner;
}

} // namespace

int main(int argc, char** argv) {
    const long long polygons = argc > 1 ? std::atoll(argv[1]) : 1000000;
    std::unique_ptr<DzApp> app = yfx::makeHostApp();
    QTemporaryDir dir;
    const std::string model = writeGrid(dir.path().toStdString(), polygons);
    yfx::FilterModule module;
    QString error;
    if (!yfx::openFilterModule(QStringLiteral(YFX_PLUGIN_MODULE_PATH), module, error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    std::vector<double> assimp, conversion, building, writing, container;
    for (int run = 0; run < 3; ++run) {
        double t = processorSeconds();
        {
            Assimp::Importer importer;
            if (importer.ReadFile(model, yfx::model::kModelReadSteps) == nullptr) {
                std::fprintf(stderr, "Assimp: %s\n", importer.GetErrorString());
                return 1;
            }
        }
        assimp.push_back(processorSeconds() - t);

        double exportStart = 0, writeStart = 0;
        DzProgress::setListener([&](const DzProgress::Report& r) {
            if (r.kind != DzProgress::Report::Started &&
                r.kind != DzProgress::Report::InfoChanged) {
                return;
            }
            if (exportStart == 0 && r.depth == 1) {
                exportStart = processorSeconds();
            }
            if (r.info == QLatin1String("Writing the file")) {
                writeStart = processorSeconds();
            }
        });
        yfx::ModelToProject request;
        request.model = QString::fromStdString(model);
        request.project = dir.filePath(QStringLiteral("grid.yfx"));
        request.exportOptions = {1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0, 1, 0}; // the dialog's defaults
        request.showProgress = false;
        yfx::ConvertOutcome outcome;
        t = processorSeconds();
        const bool ok = yfx::convertModelToProject(module, request, "bench", outcome);
        const double end = processorSeconds();
        DzProgress::setListener(DzProgress::Listener());
        if (!ok) {
            std::fprintf(stderr, "conversion: %s\n", outcome.problem.toUtf8().constData());
            return 1;
        }
        conversion.push_back(end - t);
        building.push_back(exportStart - t);
        writing.push_back(writeStart > 0 ? end - writeStart : 0);

        const std::vector<std::uint8_t> inner = innerStream(request.project);
        std::vector<std::uint8_t> packed;
        t = processorSeconds();
        yfx::buildContainer(inner.data(), inner.size(), 128, packed);
        container.push_back(processorSeconds() - t);
        if (run == 0) {
            std::printf("project file: %.1f MB (inner stream %.1f MB)\n",
                        QFile(request.project).size() / 1e6, inner.size() / 1e6);
        }
    }
    const double a = median(assimp), c = median(conversion), k = median(container);
    const double b = median(building), w = median(writing);
    std::printf("medians of three, processor seconds:\n");
    std::printf("  Assimp alone (ReadFile, same steps)             %8.3f\n", a);
    std::printf("  conversion                                      %8.3f\n", c);
    std::printf("    Assimp's read and the scene builder           %8.3f\n", b);
    std::printf("      the scene builder (less Assimp alone)       %8.3f\n", b - a);
    std::printf("    exporter: gathering and processing passes     %8.3f\n", c - b - w);
    std::printf("    exporter: writing (v31 writer, container)     %8.3f\n", w);
    std::printf("  container step alone (in memory)                %8.3f\n", k);
    std::printf("ratio (conversion - container step) / Assimp alone: %.3f (target 2 or less)\n",
                (c - k) / a);
    std::printf("ratio scene builder / Assimp alone:                 %.3f\n", (b - a) / a);
    return 0;
}
