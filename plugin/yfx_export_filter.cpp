#include "plugin/yfx_export_filter.h"

#include "compat/qt_compat.h"
#include "document/doc_clear.h"
#include "export/export_driver.h"
#include "export/export_option_keys.h"
#include "plugin/main_window_check.h"
#include "plugin/message_box.h"
#include "plugin/yfx_export_dlg.h"

#include <dzfileiosettings.h>
#include <dzmainwindow.h>

#include <cstdint>
#include <new>

YFXExportFilter::YFXExportFilter() : DzExporter(QStringLiteral("YFX")) {
    yfx::setWideText(creator_text, kTextCapacity, yfx::exporter::kExportCreatorText);
    yfx::setWideText(version_text, kTextCapacity, yfx::exporter::kExportVersionText);
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

namespace {

using yfx::exporter::ExportOptions;

// The write step's result for a failed export.
constexpr DzError kWriteFailed = 98;

// The filter's option fields and the session's, in the same order.
struct OptionPair {
    int YFXExportFilter::*filter;
    std::int32_t ExportOptions::*session;
};

constexpr OptionPair kOptionPairs[] = {
    {&YFXExportFilter::export_lights, &ExportOptions::export_lights},
    {&YFXExportFilter::export_materials, &ExportOptions::export_materials},
    {&YFXExportFilter::export_uvs, &ExportOptions::export_uvs},
    {&YFXExportFilter::export_uvsets, &ExportOptions::export_uvsets},
    {&YFXExportFilter::export_joints, &ExportOptions::export_joints},
    {&YFXExportFilter::export_animation, &ExportOptions::export_animation},
    {&YFXExportFilter::export_visible, &ExportOptions::export_visible},
    {&YFXExportFilter::export_zeropose, &ExportOptions::export_zeropose},
    {&YFXExportFilter::merge_materials, &ExportOptions::merge_materials},
    {&YFXExportFilter::collapse_uvs, &ExportOptions::collapse_uvs},
    {&YFXExportFilter::export_high_resmesh, &ExportOptions::export_high_resmesh},
    {&YFXExportFilter::export_textures, &ExportOptions::export_textures},
    {&YFXExportFilter::export_as_v2x, &ExportOptions::export_as_v2x},
    {&YFXExportFilter::logging_enabled, &ExportOptions::logging_enabled},
};

} // namespace

DzError YFXExportFilter::write(const QString& filename, const DzFileIOSettings* options) {
    // No exception may reach the host: if memory runs out, the export fails
    // and the document is left empty.
    try {
        yfx::exporter::ExportSession session(document);
        for (const OptionPair& pair : kOptionPairs) {
            session.options.*pair.session = this->*pair.filter;
        }
        session.node_counter = node_counter;
        session.creator_text = creator_text;
        session.version_text = version_text;

        const yfx::exporter::ExportResult result =
            yfx::exporter::runExportWrite(session, filename, options);

        for (const OptionPair& pair : kOptionPairs) {
            this->*pair.filter = session.options.*pair.session;
        }
        node_counter = session.node_counter;
        yfx::setWideText(document_path, kPathCapacity, session.document_path.c_str());
        yfx::setWideText(time_text, kTextCapacity, session.time_text.c_str());

        const yfx::exporter::ExportMessage& message = result.message;
        if (message.kind != yfx::exporter::ExportMessage::None) {
            const QString title = tr(message.title.toUtf8().constData());
            const QString text = tr(message.text.toUtf8().constData());
            const QString button = tr("&OK");
            if (message.kind == yfx::exporter::ExportMessage::Warning) {
                yfx::showWarning(title, text, button);
            } else {
                yfx::showInformation(title, text, button);
            }
        }
        return DzError(result.code);
    } catch (const std::bad_alloc&) {
        yfx::clearDocument(document);
        return DzError(kWriteFailed);
    }
}
