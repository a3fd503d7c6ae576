#include "plugin/yfx_import_filter.h"

#include "platform/path.h"
#include "plugin/main_window_check.h"
#include "plugin/option_keys.h"
#include "plugin/yfx_import_dlg.h"

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

DzError YFXImportFilter::read(const QString&, const DzFileIOSettings*) {
    // Placeholder until the import driver is connected: nothing is read and
    // the step reports "nothing to do" (0).
    return DZ_NO_ERROR;
}
