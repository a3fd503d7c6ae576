#include "tools/yfx/host_app.h"

#include <dzapp.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

namespace yfx {

namespace {

// QApplication keeps references to these for its whole life.
int g_argc = 1;
char g_arg0[] = "yfx";
char* g_argv[] = {g_arg0, nullptr};

// While it chooses the platform plug-in, Qt looks into the user's runtime
// folder and, when XDG_RUNTIME_DIR is not set (a service, a container, a
// build machine), says so on stderr before the tool has said anything. The
// tool keeps no runtime files and shows no window, so such a run is given an
// empty runtime folder of its own (mode 0700, as Qt requires; removed at
// exit). A runtime folder the environment names is used as it is.
void provideRuntimeFolder() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/yfx-runtime-XXXXXX"));
    if (folder.isValid()) {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
    }
#endif
}

} // namespace

std::unique_ptr<DzApp> makeHostApp() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    provideRuntimeFolder();
    return std::make_unique<DzApp>(g_argc, g_argv);
}

} // namespace yfx
