#include "plugin/yfx_import_filter.h"

#include "compat/qt_compat.h"
#include "document/doc_clear.h"
#include "import/import_driver.h"
#include "import/import_option_keys.h"
#include "platform/path.h"
#include "plugin/main_window_check.h"
#include "plugin/yfx_import_dlg.h"

#include <dzfileiosettings.h>
#include <dzmainwindow.h>

#include <new>

YFXImportFilter::YFXImportFilter() {
    yfx::setWideText(creator_text, kTextCapacity, L"Marrowmap Pro Filter for Daz Studio 4.x");
    yfx::setWideText(version_text, kTextCapacity, L"v3.0");
}

YFXImportFilter::~YFXImportFilter() = default;

void YFXImportFilter::getDefaultOptions(DzFileIOSettings* options) const {
    // No exception may reach the host: if memory runs out, the step just ends.
    try {
        DzMainWindow* mainWindow = yfx::mainWindowOrWarn(staticMetaObject);
        if (mainWindow == nullptr || options == nullptr) {
            return;
        }
        // The dialog lives for this step only; the main window is its parent
        // while it runs.
        YFXImportFilterDlg dialog(mainWindow);
        const int result = dialog.exec();
        options->setIntValue(QString::fromLatin1(yfx::kImportDialogReturnedKey), result);
        if (result != 1) {
            return;
        }
        for (int i = 0; i < yfx::kImportOptionCount; ++i) {
            options->setIntValue(QString::fromLatin1(yfx::kImportOptionKeys[i]), dialog.value(i));
        }
        options->setFloatValue(QString::fromLatin1(yfx::kImportScaleFactorKey),
                               double(dialog.scaleFactor()));
    } catch (const std::bad_alloc&) {
    }
}

bool YFXImportFilter::recognize(const QString& filename) const {
    // The extension of the last path component, "\" and "/" both separating.
    const std::wstring ext = yfx::splitPath(filename.toStdWString()).ext;
    if (ext.empty() || ext[0] != L'.') {
        return false;
    }
    return yfx::compareNoCase(ext.c_str() + 1, L"yfx") == 0;
}

QString YFXImportFilter::getExtension(int) const {
    return QStringLiteral("YFX");
}

QString YFXImportFilter::getDescription() const {
    return QStringLiteral("Marrowmap");
}

namespace {

using yfx::importer::ImportOptions;

// The filter's option fields and the session's, in the same order.
struct OptionPair {
    int YFXImportFilter::*filter;
    std::int32_t ImportOptions::*session;
};

constexpr OptionPair kOptionPairs[] = {
    {&YFXImportFilter::import_lights, &ImportOptions::import_lights},
    {&YFXImportFilter::import_groups, &ImportOptions::import_groups},
    {&YFXImportFilter::import_materials, &ImportOptions::import_materials},
    {&YFXImportFilter::import_uvs, &ImportOptions::import_uvs},
    {&YFXImportFilter::import_uvsets, &ImportOptions::import_uvsets},
    {&YFXImportFilter::import_joints, &ImportOptions::import_joints},
    {&YFXImportFilter::import_animation, &ImportOptions::import_animation},
};

} // namespace

DzError YFXImportFilter::read(const QString& filename, const DzFileIOSettings* options) {
    // No exception may reach the host: if memory runs out, the import fails
    // and the document is left empty.
    try {
        yfx::importer::ImportSession session(document);
        for (const OptionPair& pair : kOptionPairs) {
            session.options.*pair.session = this->*pair.filter;
        }
        session.options.import_scale_factor = import_scale_factor;

        const int result = yfx::importer::runImportRead(session, filename, options);

        for (const OptionPair& pair : kOptionPairs) {
            this->*pair.filter = session.options.*pair.session;
        }
        import_scale_factor = session.options.import_scale_factor;
        yfx::setWideText(document_path, kPathCapacity, session.source_path.c_str());
        return DzError(result);
    } catch (const std::bad_alloc&) {
        yfx::clearDocument(document);
        return DzError(yfx::importer::kReadFailed);
    }
}
