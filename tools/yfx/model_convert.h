// yfx convert between project files and model files, through the plug-in's
// own filters: a model read by Assimp is built into a stand-in host scene and
// exported by the module's exporter exactly as `yfx export --demo` exports
// the demo scene; a project file is imported by the module's importer into an
// empty scene, which is then written as a model by Assimp.
#pragma once

#include "model/model_notes.h"
#include "model/scene_builder.h"
#include "tools/yfx/filter_run.h"
#include "tools/yfx/import_flags.h"

#include <QtCore/QString>

#include <vector>

namespace yfx {

struct ModelToProject {
    QString model; // absolute paths
    QString project;
    std::vector<int> exportOptions; // the thirteen export option values
    double cmPerUnit = 0;           // > 0 overrides the model's unit
    bool showProgress = true;       // the exporter's progress on stderr
};

struct ConvertOutcome {
    model::ModelNotes notes;
    model::BuiltScene built;         // model to project file
    ExportRun run;                   // model to project file
    std::vector<QString> modelFiles; // project file to model: the model's files, then the
                                     // PNG files made for a glTF's images
    QString problem;                 // empty on success
};

// Needs the application object; makes and destroys its own host scene.
bool convertModelToProject(const FilterModule& module, const ModelToProject& request,
                           const char* command, ConvertOutcome& outcome);

struct ProjectToModel {
    QString project; // absolute paths
    QString model;
    ImportFlags flags;
};

bool convertProjectToModel(const FilterModule& module, const ProjectToModel& request,
                           const char* command, ConvertOutcome& outcome);

// The notes on stderr, "yfx COMMAND: applied: ..." and "yfx COMMAND: left out: ...".
void printNotes(const model::ModelNotes& notes, const char* command);

} // namespace yfx
