// yfx export --demo OUT [flags]: builds the built-in demo scene in the
// stand-in host, loads the plug-in module as the host does, and runs its
// exporter's write step on OUT with the options the flags give, as if the
// export dialog had been accepted with them. Lists on stdout what the export
// wrote beside OUT; the exporter's messages and progress go to stderr.
#include "tools/demo/demo_scene.h"
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/export_flags.h"
#include "tools/yfx/filter_run.h"
#include "tools/yfx/host_app.h"
#include "tools/yfx/module_host.h"
#include "tools/yfx/plugin_module.h"

#include <dzapp.h>
#include <dzscene.h>

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

#include <cstdio>
#include <memory>

namespace yfx {

namespace {

constexpr const char* kName = "export";

void printExportHelp(std::FILE* out) {
    std::fputs("usage: yfx export --demo OUT [flags]\n"
               "\n"
               "Builds the built-in demo scene in the stand-in host (a skinned figure of 20\n"
               "bones and about 5,000 polygons with six surfaces over UDIM tiles 1001 and\n"
               "1002, a prop with a hidden child, a point, a spot and a distant light, a\n"
               "camera, 30 frames of animation; its textures are written into demo_textures/\n"
               "beside OUT), loads the plug-in module as the host does and runs its\n"
               "exporter's write step on OUT with the options below, as if the export\n"
               "dialog had been accepted with them. Prints one line per file the export\n"
               "wrote beside OUT (\"file:\", \"log:\", \"texture:\", \"other:\" with the path\n"
               "and size); the exporter's messages and its progress go to stderr.\n"
               "\n"
               "options:\n"
               "  --demo     export the built-in demo scene (required: the only scene source)\n"
               "  --help     show this text\n"
               "\n"
               "flags, one pair per check box of the export dialog (* = as the dialog starts):\n",
               out);
    printFlagPairs(out, exportFlagPairs());
    std::fputs("\n"
               "exit status: 0 the file was written, 1 the scene, the module or the write\n"
               "step failed (the write step returned 98, or wrote no file), 2 usage error\n",
               out);
}

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

int fail(const QString& what) {
    std::fprintf(stderr, "yfx %s: %s\n", kName, utf8(what).constData());
    return kExitFailure;
}

} // namespace

int runExport(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::vector<int> options;
    std::string flagError;
    if (!takeExportFlags(rest, options, flagError)) {
        std::fprintf(stderr, "yfx %s: %s (see yfx %s --help)\n", kName, flagError.c_str(), kName);
        return kExitUsage;
    }
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(rest, kName, {"--demo"}, printExportHelp, 1, 1, "OUT", parsed);
    if (early >= 0) {
        return early;
    }
    if (!parsed.has("--demo")) {
        std::fprintf(stderr,
                     "yfx %s: --demo is required: the built-in demo scene is the only scene "
                     "this command exports (see yfx %s --help)\n",
                     kName, kName);
        return kExitUsage;
    }

    std::unique_ptr<DzApp> app = makeHostApp();
    const QFileInfo target(QString::fromStdString(parsed.positional[0]));
    const QString targetPath = target.absoluteFilePath();
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        return fail(QStringLiteral("the folder of %1 does not exist").arg(targetPath));
    }
    if (target.isDir()) {
        return fail(QStringLiteral("%1 is a folder").arg(targetPath));
    }

    HostSceneScope scene;
    yfx_demo::DemoSceneOptions demoOptions;
    demoOptions.textureFolder = QDir(folder).filePath(QStringLiteral("demo_textures"));
    yfx_demo::DemoScene demo;
    QString error;
    if (!yfx_demo::buildDemoScene(demoOptions, demo, error)) {
        return fail(QStringLiteral("cannot build the demo scene: ") + error);
    }
    std::fprintf(stderr,
                 "yfx %s: demo scene: %d nodes, %d bones, %d polygons, %d vertices, %d "
                 "textures in %s\n",
                 kName, dzScene->getNumNodes(), int(demo.bones.size()), demo.bodyPolygons,
                 demo.bodyVertices, int(demo.textureFiles.size()),
                 utf8(QDir::toNativeSeparators(demoOptions.textureFolder)).constData());

    FilterModule module;
    if (!openFilterModule(defaultPluginModulePath(), module, error)) {
        return fail(error);
    }
    ExportRun run;
    if (!runExportStep(module, targetPath, options, kName, run, error)) {
        return fail(error);
    }
    listWrittenFiles(run.written, targetPath);
    const QString problem = exportRunProblem(run, targetPath);
    if (!problem.isEmpty()) {
        return fail(problem);
    }
    return kExitSuccess;
}

} // namespace yfx
