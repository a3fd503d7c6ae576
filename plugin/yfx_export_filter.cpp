#include "plugin/yfx_export_filter.h"

#include "plugin/main_window_check.h"
#include "plugin/option_keys.h"
#include "plugin/yfx_export_dlg.h"

#include <dzmainwindow.h>

#include <new>

YFXExportFilter::YFXExportFilter() : DzExporter(QStringLiteral("YFX")) {
    yfx::setWideText(creator_text, kTextCapacity, L"Marrowmap Pro Filter for Daz Studio 4.x");
    yfx::setWideText(version_text, kTextCapacity, L"v3.0");
}

YFXExportFilter::~YFXExportFilter() = default;

void YFXExportFilter::getDefaultOptions(DzFileIOSettings* options) const {
    // No exception may reach the host: if memory runs out, the step just ends.
    try {
        DzMainWindow* mainWindow = yfx::mainWindowOrWarn(staticMetaObject);
        if (mainWindow == nullptr || options == nullptr) {
            return;
        }
        // The dialog lives for this step only; the main window is its parent
        // while it runs.
        YFXExportFilterDlg dialog(mainWindow);
        const int result = dialog.exec();
        options->setIntValue(QString::fromLatin1(yfx::kExportDialogReturnedKey), result);
        if (result != 1) {
            return;
        }
        for (int i = 0; i < yfx::kExportOptionCount; ++i) {
            options->setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[i]), dialog.value(i));
        }
    } catch (const std::bad_alloc&) {
    }
}

QString YFXExportFilter::getDescription() const {
    return QStringLiteral("Marrowmap");
}

DzError YFXExportFilter::write(const QString&, const DzFileIOSettings*) {
    // Placeholder until the export driver is connected: nothing is written and
    // the step reports "nothing to do" (0).
    return DZ_NO_ERROR;
}
