// Running the plug-in module's filters as the host does: the module loaded
// with its message entry point, the exporter or importer made through its
// class factory, the settings an accepted options dialog would store, and the
// write or read step run with the module's messages and the host's progress on
// stderr. Shared by the export, import and convert commands, so that every
// path through the filters is the same.
#pragma once

#include "plugin/harness_entry.h"
#include "tools/yfx/import_flags.h"
#include "tools/yfx/plugin_module.h"

#include <dzerrorcodes.h>

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <memory>
#include <vector>

class DzExporter;
class DzImporter;

namespace yfx {

// The write and read steps' failure result.
constexpr DzError kFilterFailed = 98;

struct FilterModule {
    LoadedPlugin loaded;
    YfxSetHarnessMessageSinkFn setSink = nullptr;
};

// Loads the module at `path` and finds its message entry point.
bool openFilterModule(const QString& path, FilterModule& module, QString& error);

// The module's exporter and importer for "YFX" files.
std::unique_ptr<DzExporter> createExporter(const LoadedPlugin& loaded, QString& error);
std::unique_ptr<DzImporter> createImporter(const LoadedPlugin& loaded, QString& error);

struct ExportRun {
    DzError result = 0;
    QStringList written; // files the step wrote or changed in the target's folder
};

// Runs the exporter's write step on dzScene into `targetPath` (absolute) with
// the thirteen option values, as an accepted export dialog stores them.
// `command` names the command in the messages (a string literal). The host's
// progress goes to stderr unless `showProgress` is false (a harness watching
// the progress itself). False, with `error`, when the module has no exporter.
bool runExportStep(const FilterModule& module, const QString& targetPath,
                   const std::vector<int>& options, const char* command, ExportRun& run,
                   QString& error, bool showProgress = true);

// What a finished export run means: empty when the file was written, else
// why not.
QString exportRunProblem(const ExportRun& run, const QString& targetPath);

// One line per written file on stdout: the project file first, then the log,
// then the textures and anything else, each as "kind: path (N bytes)".
void listWrittenFiles(const QStringList& written, const QString& targetPath);

// Runs the importer's read step on `path` into dzScene with the flags, as an
// accepted import dialog stores them. False, with `error`, when the module
// has no importer; otherwise `result` is the step's result.
bool runImportStep(const FilterModule& module, const QString& path, const ImportFlags& flags,
                   const char* command, DzError& result, QString& error);

} // namespace yfx
