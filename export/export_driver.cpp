#include "export/export_driver.h"

#include "compat/qt_compat.h"
#include "document/doc_clear.h"
#include "export/export_file.h"
#include "export/export_log.h"
#include "export/export_log_blocks.h"
#include "export/export_settings.h"
#include "export/export_target.h"
#include "export/gather_scene.h"
#include "format/time_text.h"
#include "prepare/export_passes.h"

#include <dzprogress.h>
#include <dzscene.h>

#include <new>
#include <stdexcept>

namespace yfx {
namespace exporter {

namespace {

constexpr int kFailed = 98;

// The phases of the write step's progress.
enum Phase { kGathering, kProcessing, kWriting, kPhaseCount };

ExportResult failure(const std::string& why) {
    ExportResult result;
    result.code = kFailed;
    result.message.kind = ExportMessage::Warning;
    result.message.title = QStringLiteral("Error");
    result.message.text =
        QStringLiteral("The scene was not exported: ") + QString::fromStdString(why) + '.';
    return result;
}

// The file was written; with joints on, the figures whose weight maps did not
// fit their meshes are named, since they were written without skin weights,
// and when the option took high-resolution meshes, how to keep the weights.
ExportResult success(const ExportSession& session) {
    ExportResult result;
    result.message.kind = ExportMessage::Information;
    result.message.title = QStringLiteral("Success");
    result.message.text = QStringLiteral("The file was exported successfully.");
    if (!isOn(session.options.export_joints) || session.meshes_without_weights.empty()) {
        return result;
    }
    const std::size_t count = session.meshes_without_weights.size();
    QString names;
    bool highResolution = false;
    for (const MeshWithoutWeights& mesh : session.meshes_without_weights) {
        names += (names.isEmpty() ? QStringLiteral("\"") : QStringLiteral(", \"")) +
                 QString::fromStdWString(mesh.name) + '"';
        highResolution = highResolution || mesh.high_resolution;
    }
    result.message.text += ' ' + names +
                           (count == 1 ? QStringLiteral(" was written without skin weights: its "
                                                        "weight maps do not fit the mesh exported.")
                                       : QStringLiteral(" were written without skin weights: their "
                                                        "weight maps do not fit the meshes "
                                                        "exported."));
    if (highResolution && isOn(session.options.export_high_resmesh)) {
        result.message.text += QStringLiteral(
            " The weight maps are made for the base mesh; export without \"Export high "
            "resolution meshes\" to keep them.");
    }
    return result;
}

// Holds what the write step lends out while it runs and takes it back on
// every way out: the document is emptied, the progress finished and no
// longer reachable from the session.
class WriteScope {
public:
    explicit WriteScope(ExportSession& session)
        : m_session(session),
          m_progress(QStringLiteral("Exporting the scene"), kPhaseCount, false, true) {
        m_session.progress = &m_progress;
    }
    ~WriteScope() {
        m_session.progress = nullptr;
        clearDocument(m_session.document);
    }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    void enter(Phase phase, const char* info) {
        m_progress.update(phase);
        m_progress.setInfo(QString::fromLatin1(info));
    }

private:
    ExportSession& m_session;
    DzProgress m_progress;
};

prepare::ExportPassReport runPasses(ExportSession& session) {
    // The passes have a progress of their own inside the write step's: one
    // step per pass, named after it.
    DzProgress passes(QStringLiteral("Processing the scene"));
    prepare::ExportPassOptions options;
    options.merge_materials = session.options.merge_materials;
    options.collapse_uvs = session.options.collapse_uvs;
    options.export_textures = session.options.export_textures;
    options.target_path = session.document_path;
    options.on_pass_done = [&passes](const char* pass) {
        passes.setInfo(QString::fromLatin1(pass));
        passes.step();
    };
    return prepare::runExportPasses(session.document, options);
}

WriterOptions writerOptionsOf(const ExportSession& session) {
    WriterOptions options;
    options.export_lights = session.options.export_lights;
    options.export_materials = session.options.export_materials;
    options.export_uvs = session.options.export_uvs;
    options.export_uvsets = session.options.export_uvsets;
    options.export_joints = session.options.export_joints;
    options.export_animation = session.options.export_animation;
    options.creator_text = session.creator_text;
    options.version_text = session.version_text;
    options.time_text = session.time_text;
    return options;
}

ExportResult runWrite(ExportSession& session, const QString& filename,
                      const DzFileIOSettings* settings) {
    const std::wstring target = exportTargetPath(filename);
    if (dzScene == nullptr) {
        return failure("there is no scene");
    }
    if (!exportDialogReturned(settings)) {
        return ExportResult(); // the options step was cancelled or never ran
    }
    std::string why;
    if (!checkExportTarget(target, why)) {
        return failure(why);
    }
    if (!setLogPathFor(target)) {
        return failure("the log file beside \"" + shownPath(target) +
                       "\" would have a path of 260 or more characters");
    }
    session.document_path = target;
    session.meshes_without_weights.clear();
    readExportOptions(*settings, session.options);
    session.time_text = exportTimeText();
    const bool logging = isOn(session.options.logging_enabled);

    WriteScope scope(session);
    if (logging) {
        logHeader(session);
        log_printf(L"Exporting scene...\n");
    }
    scope.enter(kGathering, "Gathering the scene");
    gatherScene(session);
    if (logging) {
        log_printf(L"Finishing up...\n");
    }

    scope.enter(kProcessing, "Processing the scene");
    const prepare::ExportPassReport passes = runPasses(session);
    if (logging) {
        logSpannedTiles(passes.spanned_tiles);
        logTexturesNotCopied(passes.copies);
        logMaterials(session.document);
        log_printf(L"\n");
        log_printf(L"Writing to file...\n");
    }

    scope.enter(kWriting, "Writing the file");
    const FileLayout layout =
        isOn(session.options.export_as_v2x) ? FileLayout::kVersion2 : FileLayout::kCurrent;
    const bool written =
        writeExportFile(session.document, writerOptionsOf(session), layout, target, why);
    clearDocument(session.document);
    if (!written) {
        if (logging) {
            log_printf(L"Writing: failed: %s\n",
                       QString::fromStdString(why).toStdWString().c_str());
        }
        return failure(why);
    }
    if (logging) {
        log_printf(L"Writing: finished.\n");
    }
    return success(session);
}

} // namespace

ExportResult runExportWrite(ExportSession& session, const QString& filename,
                            const DzFileIOSettings* settings) {
    try {
        return runWrite(session, filename, settings);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    clearDocument(session.document);
    return failure("memory ran out");
}

} // namespace exporter
} // namespace yfx
