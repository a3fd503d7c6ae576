#include "tools/yfx/model_convert.h"

#include "tools/yfx/gltf_textures.h"
#include "tools/yfx/import_leftovers.h"
#include "tools/yfx/module_host.h"

#include "document/scene_doc.h"
#include "format/load_file.h"
#include "model/model_files.h"
#include "model/scene_builder.h"
#include "model/scene_writer.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <dzscene.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace yfx {

namespace {

// The import dialog's option order (import/import_option_keys.h).
constexpr int kImportJointsOption = 5;
constexpr int kImportAnimationOption = 6;

std::wstring hostPathOf(const QString& path) {
    QString host = path;
    host.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return host.toStdWString();
}

// The export log's lines, from byte `from` on (an export in the same process
// appends to a log it wrote before), that begin with `prefix`.
std::vector<std::string> logLinesFrom(const QString& log, qint64 from, const char* prefix) {
    std::vector<std::string> lines;
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from)) {
        return lines;
    }
    const std::size_t length = std::strlen(prefix);
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith(prefix)) {
            lines.push_back(QString::fromLocal8Bit(line.mid(int(length))).toStdString());
        }
    }
    return lines;
}

// Where the tile collapse moved a surface over more than one tile as one, the
// export logs it; a conversion says it among what it applied.
constexpr const char* kSpannedTilesLine = "UV tiles moved as one: ";

} // namespace

bool convertModelToProject(const FilterModule& module, const ModelToProject& request,
                           const char* command, ConvertOutcome& outcome) {
    Assimp::Importer importer;
    std::string error;
    const aiScene* scene = model::readModel(importer, request.model, error);
    if (scene == nullptr) {
        outcome.problem =
            QStringLiteral("%1: %2").arg(request.model, QString::fromStdString(error));
        return false;
    }
    const QFileInfo target(request.project);
    if (!QFileInfo(target.absolutePath()).isDir()) {
        outcome.problem = QStringLiteral("the folder of %1 does not exist").arg(request.project);
        return false;
    }
    HostSceneScope hostScene;
    model::BuildOptions options;
    options.modelPath = request.model;
    options.extension = model::extensionOf(request.model);
    options.textureFolder = target.absolutePath();
    options.textureBase = target.completeBaseName();
    options.cmPerUnitOverride = request.cmPerUnit;
    if (!model::buildHostScene(*scene, options, outcome.built, outcome.notes, error)) {
        outcome.problem =
            QStringLiteral("%1: %2").arg(request.model, QString::fromStdString(error));
        return false;
    }
    if (outcome.built.hostNodes == 0) {
        outcome.problem = QStringLiteral("%1: the model holds nothing a host scene can take (no "
                                         "node but an empty root)")
                              .arg(request.model);
        return false;
    }
    importer.FreeScene(); // the host scene holds everything now
    QString runError;
    const QString log = target.absoluteDir().filePath(QStringLiteral("logfile.txt"));
    const qint64 logBefore = QFileInfo(log).exists() ? QFileInfo(log).size() : 0;
    if (!runExportStep(module, target.absoluteFilePath(), request.exportOptions, command,
                       outcome.run, runError, request.showProgress)) {
        outcome.problem = runError;
        return false;
    }
    outcome.problem = exportRunProblem(outcome.run, target.absoluteFilePath());
    for (const std::string& line : logLinesFrom(log, logBefore, kSpannedTilesLine)) {
        outcome.notes.apply(model::format("%s%s (the tile collapse moves each material by one "
                                          "whole-tile shift)",
                                          kSpannedTilesLine, line.c_str()));
    }
    return outcome.problem.isEmpty();
}

bool convertProjectToModel(const FilterModule& module, const ProjectToModel& request,
                           const char* command, ConvertOutcome& outcome) {
    const std::string extension = model::extensionOf(request.model);
    if (model::formatFor(extension) == nullptr) {
        outcome.problem = QStringLiteral("no writer for files of extension '%1'")
                              .arg(QString::fromStdString(extension));
        return false;
    }
    {
        // What the importer will leave out, from a look into the file.
        SceneDoc doc;
        std::string reason;
        if (loadFile(doc, hostPathOf(request.project), &reason, inspectionLoad()) != 1) {
            outcome.problem =
                QStringLiteral("%1: %2").arg(request.project, QString::fromStdString(reason));
            return false;
        }
        const auto on = [&](int option) {
            return std::size_t(option) < request.flags.options.size() &&
                   request.flags.options[std::size_t(option)] == 1;
        };
        noteImportLeftovers(doc, on(kImportJointsOption), on(kImportAnimationOption),
                            outcome.notes);
    }
    HostSceneScope hostScene;
    DzError result = 0;
    QString runError;
    if (!runImportStep(module, request.project, request.flags, command, result, runError)) {
        outcome.problem = runError;
        return false;
    }
    if (result != 0) {
        outcome.problem = QStringLiteral("the read step failed (%1)").arg(result);
        return false;
    }
    const QFileInfo target(request.model);
    std::unique_ptr<aiScene> scene =
        model::sceneFromHost(extension, target.absolutePath(), outcome.notes);
    model::noteFormatLosses(*scene, *model::formatFor(extension), outcome.notes);
    // glTF names PNG and JPEG images only.
    std::vector<QString> pictures;
    if (extension == "gltf" || extension == "glb") {
        makeGltfTextures(*scene, target.absolutePath(), extension == "glb", outcome.notes,
                         pictures);
    }
    std::string error;
    if (!model::writeModel(*scene, request.model, outcome.modelFiles, error)) {
        for (const QString& picture : pictures) {
            QFile::remove(picture); // made new by this conversion
        }
        outcome.problem =
            QStringLiteral("%1: %2").arg(request.model, QString::fromStdString(error));
        return false;
    }
    outcome.modelFiles.insert(outcome.modelFiles.end(), pictures.begin(), pictures.end());
    return true;
}

void printNotes(const model::ModelNotes& notes, const char* command) {
    for (const std::string& line : notes.applied) {
        std::fprintf(stderr, "yfx %s: applied: %s\n", command, line.c_str());
    }
    for (const std::string& line : notes.droppedLines()) {
        std::fprintf(stderr, "yfx %s: left out: %s\n", command, line.c_str());
    }
    std::fflush(stderr);
}

} // namespace yfx
