// Times the exporter's write step on the demo scene scaled up (by default
// 1,000,000 polygons, 200 bones, four weights per vertex, 100 frames), three
// exports in one run, each phase as the median of the three:
//
// - the host: time inside the stand-in host's expensive calls (finalize with
//   its skinning, transforms, frame changes and scene updates), read from the
//   stand-in's DzHostClock;
// - the plug-in's own gathering (the gathering phase less the host's time),
//   the processing passes, and the writing phase (the version 31 writer into
//   the temporary file and the finishing step that compresses it into the
//   target);
// - the gathering's own steps (nodes, objects, animation), each split into
//   host and plug-in time, to show where gathering time goes.
//
// Times are processor seconds of the process (std::clock, which the stand-in's
// host clock counts as well), so that other work on a shared machine does not
// inflate them; the whole write step's wall time is printed beside them. The
// phases are told apart by the write step's own progress reports. The
// writer and the finishing step are also timed apart, on a document gathered
// and processed separately, next to zlib's compress (default level) of the
// same inner stream: the plug-in's own share should take at most 1.5 times as
// long as that compress, and the file should be within 1% of its size.
//
// usage: yfx_bench_export [POLYGONS [EXTRA_BONES [FRAMES]]]
#include <QtCore/QByteArray>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>

#include <dzapp.h>
#include <dzfileiosettings.h>
#include <dzhostclock.h>
#include <dzprogress.h>
#include <dzscene.h>

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "export/export_driver.h"
#include "export/export_option_keys.h"
#include "export/export_settings.h"
#include "export/gather_scene.h"
#include "format/byte_sink.h"
#include "format/container.h"
#include "format/writer_v31.h"
#include "platform/path.h"
#include "platform/temp_file.h"
#include "prepare/export_passes.h"
#include "tools/demo/demo_scene.h"

namespace {

// Processor seconds of the process, as the stand-in's DzHostClock counts
// them: other work on a shared machine does not inflate them.
double processorSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

double secondsSince(double start) {
    return processorSeconds() - start;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// The export dialog's starting states: lights, materials, UVs, every UV set,
// joints, animation, hidden nodes skipped, UV tiles collapsed and textures
// copied; no zero pose, no merged materials, the shape's own geometry, the
// current layout.
constexpr int kDialogDefaults[yfx::kExportOptionCount] = {1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0, 1, 0};

// Processor time since the export started, and host time, at a moment of it.
struct Mark {
    double at = 0.0;
    double host = 0.0;
};

// Marks each start of an outer phase and of each gathering step, from the
// write step's progress reports.
struct PhaseMarks {
    double start = 0.0;
    std::vector<std::pair<std::string, Mark>> marks;

    void add(const QString& name) {
        marks.emplace_back(name.toStdString(), Mark{secondsSince(start), DzHostClock::seconds()});
    }
};

// Seconds and host seconds of one export, by phase name.
using RunTimes = std::map<std::string, std::vector<double>>;

void recordRun(const PhaseMarks& run, const Mark& end, RunTimes& times) {
    const std::vector<std::pair<std::string, Mark>>& m = run.marks;
    for (std::size_t i = 0; i < m.size(); ++i) {
        const Mark& next = i + 1 < m.size() ? m[i + 1].second : end;
        times[m[i].first].push_back(next.at - m[i].second.at);
        times[m[i].first + " host"].push_back(next.host - m[i].second.host);
    }
    times["total"].push_back(end.at);
    times["total host"].push_back(end.host);
    times["own"].push_back(end.at - end.host);
    // Gathering runs from its own phase mark to the processing phase's.
    Mark gathering, processing;
    for (const auto& mark : m) {
        if (mark.first == "Gathering the scene") {
            gathering = mark.second;
        } else if (mark.first == "Processing the scene") {
            processing = mark.second;
        }
    }
    times["gathering own"].push_back((processing.at - gathering.at) -
                                     (processing.host - gathering.host));
}

double at(const RunTimes& times, const std::string& name) {
    const auto found = times.find(name);
    return found != times.end() ? median(found->second) : 0.0;
}

yfx::WriterOptions writerOptions() {
    yfx::WriterOptions o;
    o.export_lights = o.export_materials = o.export_uvs = 1;
    o.export_uvsets = o.export_joints = o.export_animation = 1;
    o.creator_text = yfx::exporter::kExportCreatorText;
    o.version_text = yfx::exporter::kExportVersionText;
    o.time_text = L"Thu Jan  1 00:00:00 1970";
    return o;
}

// The writer and the finishing step apart, and compress of the same inner
// stream, on a document gathered and processed as the write step does.
struct SeparateTimes {
    std::vector<double> writer, finishing, compress;
    std::size_t stream = 0, compressed = 0;
};

bool timeWriterAndCompress(const std::wstring& folder, int runs, SeparateTimes& out) {
    yfx::SceneDoc doc;
    yfx::exporter::ExportSession session(doc);
    for (int i = 0; i < yfx::kExportOptionCount; ++i) {
        session.options.*(yfx::exporter::kExportOptionFields[i].field) = kDialogDefaults[i];
    }
    session.options.logging_enabled = 0;
    yfx::exporter::gatherScene(session);
    yfx::prepare::ExportPassOptions passes;
    passes.merge_materials = kDialogDefaults[8];
    passes.collapse_uvs = kDialogDefaults[9];
    passes.export_textures = kDialogDefaults[11];
    passes.target_path = folder + L"\\separate.yfx";
    yfx::prepare::runExportPasses(doc, passes);

    for (int run = 0; run < runs; ++run) {
        std::wstring temp;
        if (yfx::createTempFile(temp) != 1) {
            std::fprintf(stderr, "no temporary file\n");
            return false;
        }
        std::FILE* stream = yfx::openHostFile(temp, "wb");
        yfx::FileHeader header;
        double start = processorSeconds();
        const int written =
            stream != nullptr ? yfx::writeDocument(doc, writerOptions(), stream, header) : 0;
        const bool closed = stream != nullptr && std::fclose(stream) == 0;
        out.writer.push_back(secondsSince(start));
        start = processorSeconds();
        const int packed = written == 1 && closed
                               ? yfx::packContainer(header, temp, folder + L"\\separate.yfx")
                               : 0;
        out.finishing.push_back(secondsSince(start));
        if (packed != 1) {
            yfx::deleteHostFile(temp);
            std::fprintf(stderr, "writing or packing the separate document failed\n");
            return false;
        }
    }

    yfx::MemorySink sink;
    yfx::FileHeader header;
    if (yfx::writeDocument(doc, writerOptions(), sink, header) != 1) {
        std::fprintf(stderr, "writing the inner stream into memory failed\n");
        return false;
    }
    const yfx::ByteBuffer inner = sink.releaseBuffer();
    std::vector<std::uint8_t> packed(compressBound(uLong(inner.size())));
    for (int run = 0; run < runs; ++run) {
        uLongf length = uLongf(packed.size());
        const double start = processorSeconds();
        if (compress(packed.data(), &length, inner.data(), uLong(inner.size())) != Z_OK) {
            std::fprintf(stderr, "zlib compress failed\n");
            return false;
        }
        out.compress.push_back(secondsSince(start));
        out.compressed = length;
    }
    out.stream = inner.size();
    return true;
}

// One export of the scene through the write step, its phases marked.
bool exportOnce(const QString& target, RunTimes& times) {
    DzFileIOSettings settings;
    settings.setIntValue(QString::fromLatin1(yfx::kExportDialogReturnedKey), 1);
    for (int i = 0; i < yfx::kExportOptionCount; ++i) {
        settings.setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[i]), kDialogDefaults[i]);
    }
    PhaseMarks run;
    DzProgress::setListener([&run](const DzProgress::Report& report) {
        const bool phase = report.depth == 1 && report.kind == DzProgress::Report::InfoChanged;
        const bool gatheringStep = report.depth == 2 &&
                                   report.kind == DzProgress::Report::Started &&
                                   report.info.startsWith(QLatin1String("Gathering "));
        if (phase || gatheringStep) {
            run.add(report.info);
        }
    });
    yfx::SceneDoc doc;
    yfx::exporter::ExportSession session(doc);
    DzHostClock::reset();
    const auto wallStart = std::chrono::steady_clock::now();
    run.start = processorSeconds();
    const yfx::exporter::ExportResult result =
        yfx::exporter::runExportWrite(session, target, &settings);
    const Mark end{secondsSince(run.start), DzHostClock::seconds()};
    times["wall"].push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count());
    DzProgress::setListener(DzProgress::Listener());
    if (result.code != 0) {
        std::fprintf(stderr, "the export failed: %s\n", result.message.text.toUtf8().constData());
        return false;
    }
    PhaseMarks before;
    before.marks.emplace_back("setting up", Mark());
    before.marks.insert(before.marks.end(), run.marks.begin(), run.marks.end());
    recordRun(before, end, times);
    return true;
}

struct Row {
    const char* label;
    double seconds;
};

void printRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        std::printf("  %-52s %10.1f\n", row.label, row.seconds * 1e3);
    }
}

} // namespace

int main(int argc, char** argv) {
    yfx_demo::DemoSceneOptions options;
    options.polygons = argc > 1 ? std::strtoll(argv[1], nullptr, 10) : 1000000;
    options.extraBones = argc > 2 ? std::atoi(argv[2]) : 180;
    options.frames = argc > 3 ? std::atoi(argv[3]) : 100;
    options.fourWeights = true;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    DzApp app(argc, argv);
    DzScene::create();
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    options.textureFolder = dir.filePath(QStringLiteral("textures"));
    yfx_demo::DemoScene scene;
    QString error;
    const auto wallStart = std::chrono::steady_clock::now();
    if (!yfx_demo::buildDemoScene(options, scene, error)) {
        std::fprintf(stderr, "the demo scene was not built: %s\n", error.toUtf8().constData());
        return 1;
    }
    std::printf(
        "scene: %d polygons, %d vertices, %zu bones, %d nodes, 4 weights per vertex, "
        "%d frames (built in %.1f s)\n",
        scene.bodyPolygons, scene.bodyVertices, scene.bones.size(), dzScene->getNumNodes(),
        options.frames,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count());
    std::fflush(stdout);

    const int runs = 3;
    const QString target = dir.filePath(QStringLiteral("bench.yfx"));
    RunTimes times;
    for (int run = 0; run < runs; ++run) {
        if (!exportOnce(target, times)) {
            return 1;
        }
    }
    const long long fileSize = QFileInfo(target).size();
    SeparateTimes separate;
    const std::wstring folder = yfx::toHostPath(dir.path().toStdWString());
    if (!timeWriterAndCompress(folder, runs, separate)) {
        return 1;
    }

    const double host = at(times, "total host");
    const double own = at(times, "own");
    std::printf("\nwrite step, median of %d exports (processor milliseconds)\n", runs);
    printRows({
        {"host: finalize and skinning, transforms, frames", host},
        {"plug-in: setting up (options, log header)", at(times, "setting up")},
        {"plug-in: gathering, its own time", at(times, "gathering own")},
        {"plug-in: processing passes", at(times, "Processing the scene")},
        {"plug-in: writing (v31 writer, finishing step)", at(times, "Writing the file")},
        {"plug-in's own share", own},
        {"whole write step", at(times, "total")},
        {"whole write step, wall time", at(times, "wall")},
    });
    std::printf("\ngathering steps, host / plug-in's own (processor milliseconds)\n");
    for (const char* step :
         {"Gathering the scene", "Gathering nodes", "Gathering objects", "Gathering animation"}) {
        const double stepHost = at(times, std::string(step) + " host");
        std::printf("  %-40s %10.1f / %10.1f\n",
                    step == std::string("Gathering the scene")
                        ? "setting the frame, listing the nodes"
                        : step,
                    stepHost * 1e3, (at(times, step) - stepHost) * 1e3);
    }
    std::printf("\nthe same scene gathered and processed once more, median of %d runs "
                "(processor milliseconds)\n",
                runs);
    printRows({
        {"version 31 writer into the temporary file", median(separate.writer)},
        {"finishing step (read back, compress, write)", median(separate.finishing)},
        {"zlib compress of the inner stream", median(separate.compress)},
    });
    const double compressSeconds = median(separate.compress);
    std::printf("\ninner stream %zu bytes, compress output %zu bytes, file %lld bytes\n",
                separate.stream, separate.compressed, fileSize);
    std::printf("plug-in's own share / compress: %.3f (target 1.5 or less)\n",
                compressSeconds > 0 ? own / compressSeconds : 0.0);
    std::printf("file size / compress size: %.5f (target within 1%%)\n",
                separate.compressed > 0 ? double(fileSize) / double(separate.compressed) : 0.0);
    DzScene::destroy();
    return 0;
}
