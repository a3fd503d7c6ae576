// Imports arbitrary bytes as the read step does: the load, the scale pass and
// the build into an empty scene of the stand-in host. The first byte picks
// the options (groups off and every other option on, at twice the size;
// groups on, at half the size; the import dialog's defaults), the rest is
// the file. Any status is fine; a crash, a
// hang, a leak, a sanitizer report or a loaded document that breaks a load's
// guarantees is a bug.
#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

#include <dzapp.h>
#include <dzscene.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>

#include "document/scene_doc.h"
#include "format/load_file.h"
#include "fuzz/loaded_check.h"
#include "import/import_build.h"
#include "import/import_scale.h"
#include "import/import_session.h"

namespace {

using yfx::importer::ImportOptions;

// The application object and the path of a project file in a private
// folder, for the whole run. The folder holds one texture under the name the
// seeds' materials use, so that maps resolved beside the project file find an
// image; nothing is written anywhere else (embedded files stay in memory).
struct Host {
    int argc = 1;
    char arg0[16] = "yfx_import_fuzz";
    char* argv[2] = {arg0, nullptr};
    DzApp* app = nullptr;
    std::wstring project_path;
};

Host& host() {
    static QTemporaryDir folder; // removed when the process exits normally
    // Never destroyed: the application outlives every input, and the fuzzer
    // ends the process without unwinding.
    static Host* const made = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        auto* h = new Host;
        // Qt makes a runtime folder when none is set; it goes into ours.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
        }
        h->app = new DzApp(h->argc, h->argv);
        QImage texture(4, 4, QImage::Format_RGB32);
        texture.fill(Qt::gray);
        texture.save(folder.filePath(QStringLiteral("skin.png")));
        // In the host convention, as the read step passes it on.
        h->project_path = folder.filePath(QStringLiteral("scene.yfx")).toStdWString();
        for (wchar_t& c : h->project_path) {
            if (c == L'/') {
                c = L'\\';
            }
        }
        return h;
    }();
    return *made;
}

// A bake budget far below a real read's: a few bytes of key times can ask
// for the whole budget, and baking and keying millions of samples under the
// sanitizers takes longer than the fuzzer allows one input. Inputs past it
// take the refusal path instead.
constexpr std::uint64_t kFuzzBakeSampleBudget = std::uint64_t(1) << 16;

ImportOptions optionsFor(std::uint8_t selector) {
    ImportOptions o;
    o.import_lights = o.import_materials = o.import_uvs = o.import_uvsets = 1;
    o.import_scale_factor = 1.0f;
    switch (selector % 3) {
    case 0: // every option but groups, which would turn joints and animation off
        o.import_joints = o.import_animation = 1;
        o.import_scale_factor = 2.0f;
        break;
    case 1:
        o.import_groups = 1;
        o.import_scale_factor = 0.5f;
        break;
    default: // the dialog as it opens
        break;
    }
    return o;
}

void importBytes(yfx::importer::ImportSession& session, const std::uint8_t* data,
                 std::size_t size) {
    const int status = yfx::loadFromMemory(session.document, data, size, session.source_path,
                                           nullptr, yfx::inspectionLoad());
    if (status != 1 && status != 0 && status != -5 && status != -6 && status != -7) {
        __builtin_trap(); // not a status loading from memory can give
    }
    if (status != 1) {
        return;
    }
    yfx_fuzz::abortUnlessLoadedSound(session.document);
    yfx::importer::scaleForImport(session.document, session.options.import_scale_factor);
    yfx::importer::buildImportedScene(session);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    Host& h = host();
    DzScene::create();
    {
        yfx::SceneDoc doc;
        yfx::importer::ImportSession session(doc);
        session.options = optionsFor(data[0]);
        session.source_path = h.project_path;
        session.bake_sample_budget = kFuzzBakeSampleBudget;
        // As the read step: running out of memory ends the import.
        try {
            importBytes(session, data + 1, size - 1);
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
    }
    // An empty scene and image manager for the next input.
    DzScene::destroy();
    h.app->deleteImageMgr();
    h.app->createImageMgr();
    return 0;
}
