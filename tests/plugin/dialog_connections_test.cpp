// The dialogs connect their signals by name (SIGNAL()/SLOT(), which the host's
// Qt 4 needs): a misspelt name is no compile error, only a warning at run time
// and a connection missing. Building each dialog must connect everything.
#include "plugin/yfx_export_dlg.h"
#include "plugin/yfx_import_dlg.h"
#include "plugin_test_support.h"

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QtGlobal>

#include <gtest/gtest.h>

#include <functional>

namespace {

QStringList* g_warnings = nullptr;

void recordWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (g_warnings != nullptr && type != QtDebugMsg && type != QtInfoMsg) {
        g_warnings->append(text);
    }
}

// The warnings Qt gives while `build` runs.
QStringList warningsWhile(const std::function<void()>& build) {
    QStringList warnings;
    g_warnings = &warnings;
    const QtMessageHandler previous = qInstallMessageHandler(&recordWarning);
    build();
    qInstallMessageHandler(previous);
    g_warnings = nullptr;
    return warnings;
}

TEST(DialogConnectionsTest, EverySignalOfBothDialogsIsConnected) {
    const struct {
        const char* name;
        std::function<void()> build;
    } kDialogs[] = {
        {"export", [] { YFXExportFilterDlg dialog; }},
        {"import", [] { YFXImportFilterDlg dialog; }},
    };
    for (const auto& dialog : kDialogs) {
        const QStringList warnings = warningsWhile(dialog.build);
        EXPECT_TRUE(warnings.isEmpty())
            << dialog.name << ": " << warnings.join(QStringLiteral("\n")).toStdString();
    }
}

} // namespace
