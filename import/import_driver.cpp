#include "import/import_driver.h"

#include "compat/qt_compat.h"
#include "document/doc_clear.h"
#include "format/load_file.h"
#include "import/import_build.h"
#include "import/import_scale.h"
#include "import/import_settings.h"

#include <dzprogress.h>
#include <dzscene.h>

#include <new>
#include <stdexcept>

namespace yfx {
namespace importer {

namespace {

// The phases of the read step's progress.
enum Phase { kLoading, kScaling, kBuilding, kPhaseCount };

// Empties the document on every way out of the read step.
class DocumentScope {
public:
    explicit DocumentScope(SceneDoc& doc) : doc_(doc) {}
    ~DocumentScope() { clearDocument(doc_); }
    DocumentScope(const DocumentScope&) = delete;
    DocumentScope& operator=(const DocumentScope&) = delete;

private:
    SceneDoc& doc_;
};

int runRead(ImportSession& session, const QString& filename, const DzFileIOSettings* settings) {
    session.current_figure = nullptr;
    std::wstring path = filename.toStdWString();
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    if (path.size() > kImportPathLimit || dzScene == nullptr) {
        return kReadFailed;
    }
    if (!importDialogReturned(settings)) {
        return kReadDone;
    }
    DocumentScope scope(session.document);
    session.source_path = path;
    readImportOptions(*settings, session.options);
    applyOptionRules(session.options);

    DzProgress progress(QStringLiteral("Importing the scene"), kPhaseCount);
    progress.setInfo(QStringLiteral("Reading the file"));
    if (loadFile(session.document, path) < 1) {
        return kReadFailed;
    }
    progress.update(kScaling);
    progress.setInfo(QStringLiteral("Scaling the scene"));
    scaleForImport(session.document, session.options.import_scale_factor);
    progress.update(kBuilding);
    progress.setInfo(QStringLiteral("Building the scene"));
    buildImportedScene(session);
    return kReadDone;
}

} // namespace

int runImportRead(ImportSession& session, const QString& filename,
                  const DzFileIOSettings* settings) {
    try {
        return runRead(session, filename, settings);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    clearDocument(session.document);
    return kReadFailed;
}

} // namespace importer
} // namespace yfx
