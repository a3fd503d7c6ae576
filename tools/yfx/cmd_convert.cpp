// yfx convert IN OUT [options]: chooses by the extensions.
// - Project file to project file: loads IN (any readable version) and writes
//   it as a version 31 container (version 9 with --v2) with every export
//   option on. OUT is replaced in one step only when the whole file has been
//   written; IN is never changed. The files a version 34 IN embeds are placed
//   beside OUT, where the written file's textures are looked for.
// - Model file to project file: Assimp reads the model, the scene builder
//   makes it a stand-in host scene, and the module's exporter writes it as
//   `yfx export --demo` writes the demo scene, with the same flags.
// - Project file to model file: the module's importer builds the scene (with
//   the import flags; joints and animation on), the scene writer turns it
//   into Assimp's scene, and Assimp writes the format OUT's extension names.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/export_flags.h"
#include "tools/yfx/host_app.h"
#include "tools/yfx/import_flags.h"
#include "tools/yfx/load_report.h"
#include "tools/yfx/model_convert.h"
#include "tools/yfx/plugin_module.h"
#include "tools/yfx/project_output.h"

#include "format/reader.h"
#include "format/reader_texture_paths.h"
#include "model/model_files.h"

#include <dzapp.h>

#include <QtCore/QFileInfo>
#include <QtCore/QSet>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace yfx {

namespace {

constexpr const char* kName = "convert";

void printList(std::FILE* out, const std::vector<std::string>& items) {
    std::string line = "   ";
    for (const std::string& item : items) {
        if (line.size() + item.size() + 1 > 78) {
            std::fprintf(out, "%s\n", line.c_str());
            line = "   ";
        }
        line += " " + item;
    }
    std::fprintf(out, "%s\n", line.c_str());
}

void printConvertHelp(std::FILE* out) {
    std::fputs("usage: yfx convert IN.yfx OUT.yfx [--v2]\n"
               "       yfx convert MODEL OUT.yfx [export flags] [--unit-cm F]\n"
               "       yfx convert IN.yfx MODEL [import flags] [--scale F]\n"
               "\n"
               "Project file to project file: loads IN (any readable version) and writes it\n"
               "to OUT as a compressed version 31 file, or as a version 9 (\"v2.x\") file with\n"
               "--v2, with every export option on. The new file is written beside OUT under a\n"
               "temporary name and renamed over OUT once complete, so a failed convert leaves\n"
               "OUT as it was; IN is only read. The files a version 34 IN embeds are placed\n"
               "beside OUT (an existing file is never replaced). The time in the file's info\n"
               "strings is now, or SOURCE_DATE_EPOCH when set. What a version 9 file cannot\n"
               "hold is listed in the README.\n"
               "\n"
               "Model to project file: Assimp reads MODEL; its nodes, meshes (triangles and\n"
               "quads kept, larger polygons split), first two UV channels, materials with\n"
               "their colour, opacity, bump, normal and specular textures, skinned meshes\n"
               "(as figures with bones, skin binding and weights), first animation (keyed at\n"
               "every frame), lights and cameras become a stand-in host scene in centimetres\n"
               "with Y up; embedded textures are written beside OUT. The plug-in's exporter\n"
               "then writes OUT as `yfx export --demo` does, with the same flags, and the\n"
               "files it wrote are listed as there. The units and axes applied and\n"
               "everything left out (with the reason) are said on stderr.\n"
               "\n"
               "Project file to model: the plug-in's importer builds IN into an empty\n"
               "stand-in scene (joints and animation on unless turned off), and the scene\n"
               "is written in the format MODEL's extension names: meshes with their UV set,\n"
               "materials with colour, opacity and texture files, the figure's bones with\n"
               "bind matrices and weights, one key per frame, lights. What the importer or\n"
               "the format leaves out is said on stderr. A glTF or GLB names PNG and JPEG\n"
               "images only: other textures (TGA, BMP, ...) are written as new PNG files\n"
               "beside MODEL (never over an existing file) or stored in the GLB.\n"
               "\n"
               "options:\n"
               "  --v2        project file to project file: write version 9\n"
               "  --unit-cm F model to project file: one model unit is F centimetres\n"
               "              (default: the format's unit; 1 for formats without one)\n"
               "  --scale F   project file to model: the import's scale factor (default 1)\n"
               "  --help      show this text\n"
               "\n"
               "export flags (model to project file; * = default, as `yfx export`):\n",
               out);
    printFlagPairs(out, exportFlagPairs());
    std::fputs("\nimport flags (project file to model; * = default):\n", out);
    printFlagPairs(out, convertImportFlagPairs());
    std::fputs("\nmodel formats read (by extension):\n", out);
    printList(out, model::readableExtensions());
    std::fputs("model formats written (by extension):\n", out);
    std::vector<std::string> written;
    for (const model::WriteFormat& f : model::writableFormats()) {
        written.push_back(f.extension);
    }
    printList(out, written);
    std::fputs("\n"
               "exit status: 0 success, 1 IN is rejected or OUT cannot be written, 2 usage error\n",
               out);
}

int usage(const std::string& what) {
    std::fprintf(stderr, "yfx %s: %s (see yfx %s --help)\n", kName, what.c_str(), kName);
    return kExitUsage;
}

int fail(const QString& what) {
    std::fprintf(stderr, "yfx %s: %s\n", kName, what.toUtf8().constData());
    return kExitFailure;
}

bool isProject(const std::string& path) {
    return model::extensionOf(QString::fromStdString(path)) == "yfx";
}

// Takes "--unit-cm F" out of `args`; false with `error` for a missing or bad value.
bool takeUnit(std::vector<std::string>& args, double& cm, bool& given, std::string& error) {
    std::vector<std::string> rest;
    bool ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        ended = ended || args[i] == "--";
        if (ended || args[i] != "--unit-cm") {
            rest.push_back(args[i]);
            continue;
        }
        char* end = nullptr;
        errno = 0;
        const double value = i + 1 < args.size() ? std::strtod(args[i + 1].c_str(), &end) : 0.0;
        if (i + 1 == args.size() || end != args[i + 1].c_str() + args[i + 1].size() ||
            errno == ERANGE || !std::isfinite(value) || value <= 0) {
            error = "--unit-cm needs a positive number";
            return false;
        }
        cm = value;
        given = true;
        ++i;
    }
    args.swap(rest);
    return true;
}

// The arguments that are not options (nor option values), to tell the mode.
std::vector<std::string> positionalsOf(const std::vector<std::string>& args) {
    std::vector<std::string> out;
    bool ended = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!ended && args[i] == "--") {
            ended = true;
        } else if (!ended && (args[i] == "--scale" || args[i] == "--unit-cm")) {
            ++i;
        } else if (ended || args[i].empty() || args[i][0] != '-') {
            out.push_back(args[i]);
        }
    }
    return out;
}

QString absolutePath(const std::string& arg) {
    return QFileInfo(QString::fromStdWString(hostPathFromArg(arg))).absoluteFilePath();
}

int convertProjects(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(args, kName, {"--v2"}, printConvertHelp, 2, 2, "IN and OUT", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    std::wstring folder = projectFolderOf(hostPathFromArg(out));
    if (folder.empty()) {
        folder = L".\\";
    }
    SceneDoc doc;
    std::string reason;
    LoadOptions options;
    options.embedded_files_folder = folder;
    const int status = loadForCommand(doc, in, reason, options);
    if (status != kLoadOk) {
        std::fprintf(stderr, "yfx convert: %s: %s (status %d)\n", in.c_str(), reason.c_str(),
                     status);
        return kExitFailure;
    }
    std::string error;
    if (!saveProjectFile(doc, parsed.has("--v2"), out, error)) {
        std::fprintf(stderr, "yfx convert: %s: %s\n", out.c_str(), error.c_str());
        return kExitFailure;
    }
    return kExitSuccess;
}

int modelToProject(std::vector<std::string> args) {
    ModelToProject request;
    std::string error;
    bool unitGiven = false;
    if (!takeUnit(args, request.cmPerUnit, unitGiven, error) ||
        !takeExportFlags(args, request.exportOptions, error)) {
        return usage(error);
    }
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(args, kName, {}, printConvertHelp, 2, 2, "MODEL and OUT", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string extension = model::extensionOf(QString::fromStdString(parsed.positional[0]));
    if (!model::canRead(extension)) {
        return usage("no reader for files of extension '" + extension + "'");
    }
    std::unique_ptr<DzApp> app = makeHostApp();
    request.model = absolutePath(parsed.positional[0]);
    request.project = absolutePath(parsed.positional[1]);
    FilterModule module;
    QString moduleError;
    if (!openFilterModule(defaultPluginModulePath(), module, moduleError)) {
        return fail(moduleError);
    }
    ConvertOutcome outcome;
    const bool ok = convertModelToProject(module, request, kName, outcome);
    printNotes(outcome.notes, kName);
    QStringList written = outcome.run.written;
    QSet<QString> listed(written.begin(), written.end());
    for (const QString& texture : outcome.built.textureFiles) {
        if (!listed.contains(texture)) {
            listed.insert(texture);
            written << texture;
        }
    }
    listWrittenFiles(written, request.project);
    return ok ? kExitSuccess : fail(outcome.problem);
}

int projectToModel(std::vector<std::string> args) {
    ProjectToModel request;
    std::string error;
    if (!takeImportFlags(args, request.flags, error, convertImportFlagPairs())) {
        return usage(error);
    }
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(args, kName, {}, printConvertHelp, 2, 2, "IN and MODEL", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string extension = model::extensionOf(QString::fromStdString(parsed.positional[1]));
    if (model::formatFor(extension) == nullptr) {
        return usage("no writer for files of extension '" + extension + "'");
    }
    std::unique_ptr<DzApp> app = makeHostApp();
    request.project = absolutePath(parsed.positional[0]);
    request.model = absolutePath(parsed.positional[1]);
    FilterModule module;
    QString moduleError;
    if (!openFilterModule(defaultPluginModulePath(), module, moduleError)) {
        return fail(moduleError);
    }
    ConvertOutcome outcome;
    const bool ok = convertProjectToModel(module, request, kName, outcome);
    printNotes(outcome.notes, kName);
    for (const QString& file : outcome.modelFiles) {
        std::printf("%-8s %s (%lld bytes)\n", "file:", file.toUtf8().constData(),
                    static_cast<long long>(QFileInfo(file).size()));
    }
    std::fflush(stdout);
    return ok ? kExitSuccess : fail(outcome.problem);
}

} // namespace

int runConvert(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            printConvertHelp(stdout);
            return kExitSuccess;
        }
    }
    const std::vector<std::string> positionals = positionalsOf(args);
    if (positionals.size() != 2) {
        return usage("expects IN and OUT");
    }
    const bool inProject = isProject(positionals[0]);
    const bool outProject = isProject(positionals[1]);
    if (inProject && outProject) {
        return convertProjects(args);
    }
    if (outProject) {
        return modelToProject(args);
    }
    if (inProject) {
        return projectToModel(args);
    }
    return usage("one of IN and OUT must be a project file (.yfx)");
}

} // namespace yfx
