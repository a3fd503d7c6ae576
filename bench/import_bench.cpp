// Times the importer's read step on a large figure file: the demo scene
// scaled up (by default 1,000,000 polygons, 200 bones, four weights per
// vertex, 100 frames) exported once through the write step, then imported
// three times into an empty stand-in scene with joints and animation on.
// Each import runs the read step's stages one by one, as the read step and
// its figure path run them, so that each phase is timed on its own:
//
// - load: the reader's whole-file load (inflate, parse, normalise);
// - scale: the scale step;
// - regrouping: the completion passes, the group-to-bone table, merging,
//   every polygon into the first group, bone frames and the build mesh;
// - keys: the time line, baking and aligning the keys, the bones with their
//   keys;
// - geometry: the figure's shape, materials, vertices, UVs and facets;
// - skin: the weight maps and bone bindings.
//
// The time inside the stand-in host's calls is told apart from the
// plug-in's own in two ways. The stand-in's DzHostClock times the few large
// calls it covers (frame changes, scene updates, transforms). The import's
// many small calls (a vertex, a UV, a facet, a key at a time) are too short
// to time one by one, so after each phase the bench makes the same calls
// again with the same arguments on fresh host objects, without the plug-in's
// work around them, and counts that replay as the host's share of the phase (the
// fastest of three replays: a replay's time moves with whether its large
// blocks land on memory already touched, and the fastest leaves the plug-in
// the larger share): the
// geometry's vertices, UVs, face groups and facets; the skin's weight maps,
// bone bindings and their conversion; every key the bones received. The
// shape's few materials and textures and the bones themselves are not
// replayed and count as the plug-in's own. Beside the phases, the
// whole read step (runImportRead) is timed once per run, and zlib's
// uncompress of the file's body: the plug-in's own build work (every phase
// after the load, less the host's time) should take at most 4 times as long
// as that uncompress. Medians of three runs. Before the imports, one load
// in a fresh process gives the load's peak resident memory against the
// inflated stream's size.
//
// usage: yfx_bench_import [POLYGONS [EXTRA_BONES [FRAMES [COPY]]]]   (COPY:
// also leave the exported file there, for other tools to load)
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <dzapp.h>
#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzfacegroup.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfigure.h>
#include <dzfileiosettings.h>
#include <dzfloatproperty.h>
#include <dzhostclock.h>
#include <dzmap.h>
#include <dzobject.h>
#include <dzscene.h>
#include <dzskinbinding.h>
#include <dzweightmap.h>

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "document/doc_animation.h"
#include "export/export_driver.h"
#include "export/export_option_keys.h"
#include "format/file_layout.h"
#include "format/load_file.h"
#include "import/animation_keys.h"
#include "import/bone_frames.h"
#include "import/build_meshes.h"
#include "import/figure_shape.h"
#include "import/group_bones.h"
#include "import/import_driver.h"
#include "import/import_meshes.h"
#include "import/import_option_keys.h"
#include "import/import_scale.h"
#include "import/merge_meshes.h"
#include "import/mesh_build.h"
#include "import/skeleton.h"
#include "import/skin_binding.h"
#include "import/time_line.h"
#include "load_peak.h"
#include "normalise/unassigned.h"
#include "tools/demo/demo_scene.h"

namespace {

using Clock = std::chrono::steady_clock;
using yfx::importer::ImportOptions;
using yfx::importer::ImportSession;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

enum Phase { kLoad, kScale, kRegrouping, kKeys, kGeometry, kSkin, kPhaseCount };
constexpr const char* kPhaseNames[kPhaseCount] = {"load", "scale",    "regrouping",
                                                  "keys", "geometry", "skin"};

// Wall and host seconds of each phase, one entry per run.
struct PhaseTimes {
    std::vector<double> wall[kPhaseCount];
    std::vector<double> host[kPhaseCount];
    struct Built {
        int vertices, facets, bindings, keys;
    } built{};
};

// Times one phase: its wall time and the stand-in host's share of it.
template <class Work> void timed(PhaseTimes& times, Phase phase, Work work) {
    const double hostBefore = DzHostClock::seconds();
    const Clock::time_point start = Clock::now();
    work();
    times.wall[phase].push_back(secondsSince(start));
    times.host[phase].push_back(DzHostClock::seconds() - hostBefore);
}

// What the import handed the host, copied out of the built scene so that the
// replays below time the host calls alone.
struct HostCalls {
    std::vector<QString> faceGroups;
    std::vector<float> vertices; // x, y, z
    std::vector<float> uvs;      // u, v
    std::vector<DzFacet> facets;
    std::vector<std::pair<DzNode*, int>> bindings; // bone, weight count
    struct Keys {
        int property; // 0 to 8: position, scale, rotation, X Y Z each
        std::vector<std::pair<DzTime, float>> keys;
    };
    std::vector<Keys> keys;
};

DzFloatProperty* transformControl(DzNode& node, int property) {
    DzFloatProperty* const controls[9] = {
        node.getXPosControl(),   node.getYPosControl(),   node.getZPosControl(),
        node.getXScaleControl(), node.getYScaleControl(), node.getZScaleControl(),
        node.getXRotControl(),   node.getYRotControl(),   node.getZRotControl()};
    return controls[property];
}

void noteGeometryCalls(const DzFigure& figure, HostCalls& calls) {
    const DzObject* object = figure.getObject();
    const auto* shape =
        object != nullptr ? qobject_cast<const DzFacetShape*>(object->getCurrentShape()) : nullptr;
    if (const DzFacetMesh* mesh = shape != nullptr ? shape->getFacetMesh() : nullptr) {
        for (int g = 0; g < mesh->getNumFaceGroups(); ++g) {
            calls.faceGroups.push_back(mesh->getFaceGroup(g)->getName());
        }
        for (int v = 0; v < mesh->getNumVertices(); ++v) {
            const DzVec3 p = mesh->getVertex(v);
            calls.vertices.insert(calls.vertices.end(), {p.m_x, p.m_y, p.m_z});
        }
        for (int i = 0; mesh->getUVs() != nullptr && i < mesh->getUVs()->getNumValues(); ++i) {
            const float* uv = mesh->getUVs()->getPnt2Value(i);
            calls.uvs.insert(calls.uvs.end(), {uv[0], uv[1]});
        }
        for (int f = 0; f < mesh->getNumFacets(); ++f) {
            calls.facets.push_back(mesh->getFacet(f));
        }
    }
}

void noteSkinCalls(const DzFigure& figure, HostCalls& calls) {
    const DzSkinBinding* skin = figure.getSkinBinding();
    for (int i = 0; skin != nullptr && i < skin->getNumBoneBindings(); ++i) {
        const DzBoneBinding* binding = skin->getBoneBinding(i);
        calls.bindings.emplace_back(binding->getBone(), binding->getWeights() != nullptr
                                                            ? binding->getWeights()->getNumWeights()
                                                            : 0);
    }
}

void noteKeyCalls(HostCalls& calls) {
    for (int n = 0; n < dzScene->getNumNodes(); ++n) {
        DzNode* node = dzScene->getNode(n);
        for (int p = 0; p < 9 && node->inherits("DzBone"); ++p) {
            const DzFloatProperty* control = transformControl(*node, p);
            HostCalls::Keys keys{p, {}};
            for (int k = 0; k < control->getNumKeys(); ++k) {
                keys.keys.emplace_back(control->getKeyTime(k), float(control->getKeyValue(k)));
            }
            if (!keys.keys.empty()) {
                calls.keys.push_back(std::move(keys));
            }
        }
    }
}

// The geometry's host calls on a fresh shape; seconds.
double replayGeometry(const HostCalls& calls) {
    auto object = std::make_unique<DzObject>();
    const Clock::time_point start = Clock::now();
    auto* shape = new DzFacetShape();
    auto* mesh = new DzFacetMesh();
    auto* uvs = new DzMap(DzMap::FLOAT_MAP);
    uvs->setMapType(DzMap::FLOAT2_MAP, false);
    mesh->beginEdit(true);
    for (const QString& name : calls.faceGroups) {
        mesh->createFaceGroup(name);
    }
    mesh->preSizeVertexArray(int(calls.vertices.size() / 3));
    for (std::size_t v = 0; v + 2 < calls.vertices.size(); v += 3) {
        mesh->addVertex(calls.vertices[v], calls.vertices[v + 1], calls.vertices[v + 2]);
    }
    uvs->preSize(int(calls.uvs.size() / 2));
    for (std::size_t i = 0; i + 1 < calls.uvs.size(); i += 2) {
        const DzPnt2 uv = {calls.uvs[i], calls.uvs[i + 1]};
        uvs->appendPnt2Value(uv);
    }
    mesh->setUVList(uvs);
    mesh->preSizeFacets(int(calls.facets.size()));
    for (const DzFacet& facet : calls.facets) {
        mesh->activateMaterial(int(facet.m_materialIdx));
        mesh->activateFaceGroup(int(facet.m_faceGroupIdx));
        mesh->addFacet(facet.m_vertIdx, facet.m_uvwIdx, 0);
    }
    mesh->finishEdit();
    shape->setFacetMesh(mesh);
    object->addShape(shape, -1);
    return secondsSince(start);
}

// The skin's host calls on a fresh figure; seconds.
double replaySkin(const HostCalls& calls) {
    auto figure = std::make_unique<DzFigure>();
    DzSkinBinding* skin = figure->getSkinBinding();
    const Clock::time_point start = Clock::now();
    for (const auto& bound : calls.bindings) {
        auto* map = new DzWeightMap(QString());
        map->beginEdit();
        map->setNumWeights(bound.second, false);
        map->finishEdit();
        auto* binding = new DzBoneBinding();
        binding->setBone(qobject_cast<DzBone*>(bound.first));
        binding->setWeights(map);
        skin->addBoneBinding(binding);
    }
    skin->convertToGeneralMaps(DzBoneBinding::USE_GENERAL_MAP);
    return secondsSince(start);
}

double fastestOfThree(double (*replay)(const HostCalls&), const HostCalls& calls) {
    return std::min({replay(calls), replay(calls), replay(calls)});
}

// Every key the bones received, set again on a fresh bone; seconds.
double replayKeys(const HostCalls& calls) {
    DzBone bone;
    const Clock::time_point start = Clock::now();
    for (const HostCalls::Keys& keys : calls.keys) {
        DzFloatProperty* control = transformControl(bone, keys.property);
        for (const auto& key : keys.keys) {
            control->setValue(key.first, key.second);
        }
    }
    return secondsSince(start);
}

ImportOptions importOptions() {
    ImportOptions o;
    o.import_lights = o.import_materials = o.import_uvs = o.import_uvsets = 1;
    o.import_joints = o.import_animation = 1;
    o.import_scale_factor = 1.0f;
    return o;
}

// One import, stage by stage, into the current (empty) scene. False when the
// file does not load or the figure path is not taken.
bool importByPhase(const std::wstring& path, PhaseTimes& times) {
    yfx::SceneDoc doc;
    ImportSession session(doc);
    session.options = importOptions();
    session.source_path = path;
    int status = 0;
    timed(times, kLoad, [&] { status = yfx::loadFile(doc, path); });
    if (status != 1) {
        std::fprintf(stderr, "the file did not load (status %d)\n", status);
        return false;
    }
    timed(times, kScale,
          [&] { yfx::importer::scaleForImport(doc, session.options.import_scale_factor); });
    yfx::importer::MeshBuild build;
    bool figure = false;
    timed(times, kRegrouping, [&] {
        dzScene->setFrame(0);
        dzScene->update();
        yfx::normalise::addUnassignedGroup(doc);
        yfx::normalise::addUnassignedMaterial(doc);
        yfx::importer::assignGroupBones(doc);
        figure = yfx::importer::needsFigurePath(session);
        yfx::importer::mergeMeshes(doc);
        yfx::importer::regroupIntoFirst(doc);
        build.bones = yfx::importer::buildBoneFrames(doc);
        build.meshes = yfx::importer::buildImportMeshes(doc);
    });
    if (!figure || build.meshes.empty()) {
        std::fprintf(stderr, "the file does not take the figure path\n");
        return false;
    }
    // After each of the last three phases, its host calls made again.
    HostCalls calls;
    timed(times, kKeys, [&] {
        yfx::importer::setUpTimeLine(doc);
        for (std::size_t a = 0; a < doc.animations.size(); ++a) {
            yfx::importer::bakeAnimation(doc, std::int32_t(a));
        }
        for (yfx::DocAnimation& animation : doc.animations) {
            yfx::alignRotationKeys(animation);
        }
        yfx::importer::createBoneHierarchy(session, build);
    });
    noteKeyCalls(calls);
    times.host[kKeys].back() += fastestOfThree(replayKeys, calls);
    DzFigure* built = session.current_figure.data();
    if (built == nullptr) {
        std::fprintf(stderr, "no figure was built\n");
        return false;
    }
    // The figure shape without its skin, then the skin on its own.
    timed(times, kGeometry, [&] {
        yfx::importer::giveBaseName(session, build.meshes[0]);
        session.options.import_joints = 0;
        yfx::importer::buildFigureShape(session, build, build.meshes[0]);
        session.options.import_joints = 1;
    });
    noteGeometryCalls(*built, calls);
    times.host[kGeometry].back() += fastestOfThree(replayGeometry, calls);
    timed(times, kSkin,
          [&] { yfx::importer::bindSkin(session, build, build.meshes[0], built->getObject()); });
    noteSkinCalls(*built, calls);
    times.host[kSkin].back() += fastestOfThree(replaySkin, calls);

    times.built = {int(calls.vertices.size() / 3), int(calls.facets.size()),
                   int(calls.bindings.size()), 0};
    for (const HostCalls::Keys& keys : calls.keys) {
        times.built.keys += int(keys.keys.size());
    }
    return true;
}

// The whole read step, as the importer filter runs it.
bool importWhole(const QString& path, std::vector<double>& seconds) {
    DzFileIOSettings settings;
    settings.setIntValue(QString::fromLatin1(yfx::kImportDialogReturnedKey), 1);
    const ImportOptions o = importOptions();
    const int values[yfx::kImportOptionCount] = {
        o.import_lights, o.import_groups, o.import_materials, o.import_uvs,
        o.import_uvsets, o.import_joints, o.import_animation};
    for (int i = 0; i < yfx::kImportOptionCount; ++i) {
        settings.setIntValue(QString::fromLatin1(yfx::kImportOptionKeys[i]), values[i]);
    }
    settings.setFloatValue(QString::fromLatin1(yfx::kImportScaleFactorKey), 1.0);
    yfx::SceneDoc doc;
    ImportSession session(doc);
    const Clock::time_point start = Clock::now();
    const int result = yfx::importer::runImportRead(session, path, &settings);
    seconds.push_back(secondsSince(start));
    return result == yfx::importer::kReadDone;
}

// Exports the demo scene at the given size to `target` with joints and
// animation on.
bool writeFigureFile(const yfx_demo::DemoSceneOptions& options, const QString& target) {
    DzScene::create();
    yfx_demo::DemoScene scene;
    QString error;
    Clock::time_point start = Clock::now();
    if (!yfx_demo::buildDemoScene(options, scene, error)) {
        std::fprintf(stderr, "the demo scene was not built: %s\n", error.toUtf8().constData());
        return false;
    }
    std::printf("scene: %d polygons, %d vertices, %zu bones, %d nodes, 4 weights per vertex, "
                "%d frames (built in %.1f s)\n",
                scene.bodyPolygons, scene.bodyVertices, scene.bones.size(), dzScene->getNumNodes(),
                options.frames, secondsSince(start));
    DzFileIOSettings settings;
    settings.setIntValue(QString::fromLatin1(yfx::kExportDialogReturnedKey), 1);
    // The export dialog's starting states: everything on but hidden nodes, the
    // zero pose, merged materials, the cached geometry and the version 2 layout.
    const int defaults[yfx::kExportOptionCount] = {1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0, 1, 0};
    for (int i = 0; i < yfx::kExportOptionCount; ++i) {
        settings.setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[i]), defaults[i]);
    }
    yfx::SceneDoc doc;
    yfx::exporter::ExportSession session(doc);
    start = Clock::now();
    const yfx::exporter::ExportResult result =
        yfx::exporter::runExportWrite(session, target, &settings);
    DzScene::destroy();
    if (result.code != 0) {
        std::fprintf(stderr, "the export failed: %s\n", result.message.text.toUtf8().constData());
        return false;
    }
    std::printf("exported in %.1f s\n", secondsSince(start));
    return true;
}

std::uint32_t readWord(const QByteArray& bytes, int at) {
    std::uint32_t word = 0;
    for (int k = 3; k >= 0; --k) {
        word = (word << 8) | std::uint8_t(bytes[at + k]);
    }
    return word;
}

// Median seconds of zlib's uncompress of the container's body into a
// buffer of the inner stream's size; 0 when the file is no container.
double uncompressSeconds(const QByteArray& file, int runs, std::size_t& innerSize) {
    const int headerSize = int(yfx::kHeaderSize);
    if (file.size() <= headerSize || readWord(file, 4) != yfx::kVersionContainer) {
        return 0.0;
    }
    innerSize = readWord(file, 12);
    std::vector<std::uint8_t> inner(innerSize);
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        uLongf length = uLongf(inner.size());
        const Clock::time_point start = Clock::now();
        const int code = uncompress(inner.data(), &length,
                                    reinterpret_cast<const Bytef*>(file.constData()) + headerSize,
                                    uLong(file.size() - headerSize));
        seconds.push_back(secondsSince(start));
        if (code != Z_OK) {
            return 0.0;
        }
    }
    return median(seconds);
}

} // namespace

int main(int argc, char** argv) {
    const int child = yfx_bench::runLoadPeakChild(argc, argv);
    if (child >= 0) {
        return child;
    }
    yfx_demo::DemoSceneOptions options;
    options.polygons = argc > 1 ? std::strtoll(argv[1], nullptr, 10) : 1000000;
    options.extraBones = argc > 2 ? std::atoi(argv[2]) : 180;
    options.frames = argc > 3 ? std::atoi(argv[3]) : 100;
    options.fourWeights = true;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    DzApp app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    options.textureFolder = dir.filePath(QStringLiteral("textures"));
    const QString target = dir.filePath(QStringLiteral("figure.yfx"));
    if (!writeFigureFile(options, target)) {
        return 1;
    }
    if (argc > 4 && !QFile::copy(target, QString::fromLocal8Bit(argv[4]))) {
        std::fprintf(stderr, "cannot copy the file to %s\n", argv[4]);
        return 1;
    }
    QFile file(target);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the exported file\n");
        return 1;
    }
    const QByteArray bytes = file.readAll();
    const std::wstring path = target.toStdWString();
    if (bytes.size() > int(yfx::kHeaderSize)) {
        yfx_bench::measureLoadPeak(path, readWord(bytes, 12));
    }

    const int runs = 3;
    PhaseTimes times;
    std::vector<double> whole;
    for (int run = 0; run < runs; ++run) {
        DzScene::create();
        DzHostClock::reset();
        const bool imported = importByPhase(path, times);
        DzScene::destroy();
        if (!imported) {
            return 1;
        }
        DzScene::create();
        const bool read = importWhole(target, whole);
        DzScene::destroy();
        if (!read) {
            std::fprintf(stderr, "the read step failed\n");
            return 1;
        }
    }
    std::size_t innerSize = 0;
    const double unzip = uncompressSeconds(bytes, runs, innerSize);
    if (unzip <= 0.0) {
        std::fprintf(stderr, "the file's body does not uncompress\n");
        return 1;
    }

    std::printf("\nfile: %lld bytes, inner stream %zu bytes\n",
                static_cast<long long>(bytes.size()), innerSize);
    std::printf("built: %d vertices, %d facets, %d bone bindings, %d keys\n", times.built.vertices,
                times.built.facets, times.built.bindings, times.built.keys);
    std::printf("import by phase, median of %d runs (milliseconds): wall / host / plug-in\n", runs);
    double build = 0.0;
    double phases = 0.0;
    for (int p = 0; p < kPhaseCount; ++p) {
        phases += median(times.wall[p]);
        std::vector<double> own;
        for (std::size_t run = 0; run < times.wall[p].size(); ++run) {
            own.push_back(times.wall[p][run] - times.host[p][run]);
        }
        std::printf("  %-12s %10.1f %10.1f %10.1f\n", kPhaseNames[p], median(times.wall[p]) * 1e3,
                    median(times.host[p]) * 1e3, median(own) * 1e3);
        if (p != kLoad) {
            build += median(own);
        }
    }
    std::printf("  %-12s %10.1f\n", "all phases", phases * 1e3);
    std::printf("  %-12s %10.1f  (runImportRead, for comparison)\n", "read step",
                median(whole) * 1e3);
    std::printf("\nzlib uncompress of the body: %.1f ms\n", unzip * 1e3);
    std::printf("plug-in's own build work (scale to skin, less host): %.1f ms\n", build * 1e3);
    std::printf("build work / uncompress: %.2f (target 4 or less)\n", build / unzip);
    std::printf("loadFile / uncompress: %.2f; load and build work / uncompress: %.2f\n",
                median(times.wall[kLoad]) / unzip, (median(times.wall[kLoad]) + build) / unzip);
    return 0;
}
