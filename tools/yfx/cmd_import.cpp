// yfx import FILE [flags] [--json]: loads the plug-in module as the host does
// and runs its importer's read step on FILE in an empty stand-in scene, with
// the options the flags give, as if the import dialog had been accepted with
// them; then prints the host scene the import built.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/filter_run.h"
#include "tools/yfx/host_app.h"
#include "tools/yfx/host_scene_print.h"
#include "tools/yfx/host_scene_report.h"
#include "tools/yfx/import_flags.h"
#include "tools/yfx/json_writer.h"
#include "tools/yfx/load_report.h"
#include "tools/yfx/module_host.h"
#include "tools/yfx/plugin_module.h"

#include "format/reader.h"
#include "import/import_option_keys.h"

#include <dzapp.h>
#include <dzscene.h>

#include <QtCore/QFileInfo>

#include <cstdio>
#include <memory>

namespace yfx {

namespace {

constexpr const char* kName = "import";

void printImportHelp(std::FILE* out) {
    std::fputs("usage: yfx import FILE [flags] [--json]\n"
               "\n"
               "Loads the plug-in module as the host does and runs its importer's read step\n"
               "on FILE in an empty stand-in scene, with the options below, as if the import\n"
               "dialog had been accepted with them. Then prints the host scene the import\n"
               "built: the node tree with classes and names; each shape's vertex, facet,\n"
               "UV and face-group counts and its materials with their maps' files; each\n"
               "figure's bones (origin, end point, orientation, rotation order), skin\n"
               "binding (each bone binding's weight count and sum) and selection map; the\n"
               "lights (kind, intensity, colour, spread, placement); the time line; the\n"
               "keys of every animated property.\n"
               "\n"
               "options:\n"
               "  --json     print one JSON object instead of text\n"
               "  --scale F  the scale factor (default 1, as the dialog starts)\n"
               "  --help     show this text\n"
               "\n"
               "flags, one pair per check box of the import dialog (* = as the dialog starts):\n",
               out);
    printFlagPairs(out, importFlagPairs());
    std::fputs("\n"
               "exit status: 0 the file was imported, 1 the module failed or the read step\n"
               "rejected the file (the reader's reason on stderr), 2 usage error\n",
               out);
}

int fail(const QString& what) {
    std::fprintf(stderr, "yfx %s: %s\n", kName, what.toUtf8().constData());
    return kExitFailure;
}

// The reader's reason for refusing the file: the read step gives only its
// code. This second load only looks, so it writes nothing.
int failWithReason(const std::string& path) {
    SceneDoc doc;
    std::string reason;
    const int status = loadForCommand(doc, path, reason, inspectionLoad());
    if (status == kLoadOk) {
        return fail(QStringLiteral("the read step failed (98), although the reader accepts %1")
                        .arg(QString::fromStdString(path)));
    }
    return fail(QStringLiteral("the read step failed (98): %1: %2")
                    .arg(QString::fromStdString(path), QString::fromStdString(reason)));
}

const char* const kOptionNames[kImportOptionCount] = {
    "lights", "groups", "materials", "uvs", "uvsets", "joints", "animation",
};

void printJson(const QString& path, const ImportFlags& flags, const HostSceneReport& report) {
    JsonWriter json(stdout);
    json.beginObject();
    json.key("file");
    json.value(path.toStdString());
    json.key("options");
    json.beginObject();
    for (int i = 0; i < kImportOptionCount; ++i) {
        json.key(kOptionNames[i]);
        json.value(std::int32_t(flags.options[std::size_t(i)]));
    }
    json.key("scale");
    json.value(flags.scale);
    json.endObject();
    writeHostSceneJson(json, report);
    json.endObject();
    json.finish();
    std::fputc('\n', stdout);
}

void printText(const QString& path, const ImportFlags& flags, const HostSceneReport& report) {
    std::printf("file: %s\noptions:", path.toUtf8().constData());
    for (int i = 0; i < kImportOptionCount; ++i) {
        std::printf(" %s %d,", kOptionNames[i], flags.options[std::size_t(i)]);
    }
    std::printf(" scale %g\n", double(flags.scale));
    printHostSceneText(stdout, report);
}

} // namespace

int runImport(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    ImportFlags flags;
    std::string flagError;
    if (!takeImportFlags(rest, flags, flagError)) {
        std::fprintf(stderr, "yfx %s: %s (see yfx %s --help)\n", kName, flagError.c_str(), kName);
        return kExitUsage;
    }
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(rest, kName, {"--json"}, printImportHelp, 1, 1, "one FILE", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string& fileArg = parsed.positional[0];

    std::unique_ptr<DzApp> app = makeHostApp();
    const QString path =
        QFileInfo(QString::fromStdWString(hostPathFromArg(fileArg))).absoluteFilePath();

    HostSceneScope scene;
    FilterModule module;
    QString error;
    if (!openFilterModule(defaultPluginModulePath(), module, error)) {
        return fail(error);
    }
    DzError result = 0;
    if (!runImportStep(module, path, flags, kName, result, error)) {
        return fail(error);
    }
    if (result == kFilterFailed) {
        return failWithReason(fileArg);
    }
    if (result != 0) {
        return fail(
            QStringLiteral("the read step did not run (host error 0x%1)").arg(result, 0, 16));
    }

    const HostSceneReport report = gatherHostScene(*dzScene);
    if (parsed.has("--json")) {
        printJson(path, flags, report);
    } else {
        printText(path, flags, report);
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "yfx %s: cannot write the output\n", kName);
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace yfx
