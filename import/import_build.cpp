#include "import/import_build.h"

#include "compat/qt_compat.h"
#include "document/doc_weights.h"
#include "import/build_meshes.h"
#include "import/group_bones.h"
#include "import/host_lights.h"
#include "import/scene_refresh.h"
#include "import/time_line.h"
#include "normalise/unassigned.h"

#include <dzprogress.h>
#include <dzscene.h>

#include <new>
#include <stdexcept>

namespace yfx {
namespace importer {

namespace {

// Runs one pass; running out of memory ends that pass only.
template <class Pass> void runPass(DzProgress& progress, const char* info, Pass pass) {
    progress.setInfo(QString::fromLatin1(info));
    try {
        pass();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    progress.step();
}

} // namespace

int buildImportedScene(ImportSession& session) {
    if (dzScene == nullptr) {
        return 0;
    }
    SceneDoc& doc = session.document;
    const ImportOptions& options = session.options;
    DzProgress progress(QStringLiteral("Building the scene"), 4);

    dzScene->setFrame(0);
    dzScene->invalidate();
    dzScene->update();
    refreshMainWindow(true);

    runPass(progress, "Completing groups and materials", [&] {
        normalise::addUnassignedGroup(doc);
        normalise::addUnassignedMaterial(doc);
        if (!isOn(options.import_groups)) {
            assignGroupBones(doc);
        }
    });
    // Outside any pass: releasing allocates nothing, and these must happen
    // even when a pass above ran out of memory.
    if (!isOn(options.import_animation)) {
        doc.animations.clear();
    }
    if (!isOn(options.import_joints)) {
        clearAllWeights(doc);
        doc.bones.clear();
    }
    runPass(progress, "Setting the time line", [&] {
        if (isOn(options.import_animation)) {
            setUpTimeLine(doc);
        }
    });
    runPass(progress, "Building meshes, bones and skin", [&] { buildMeshes(session); });
    runPass(progress, "Creating lights", [&] {
        if (isOn(options.import_lights)) {
            createLights(doc);
        }
    });

    dzScene->update();
    refreshMainWindow(false);
    return 1;
}

} // namespace importer
} // namespace yfx
