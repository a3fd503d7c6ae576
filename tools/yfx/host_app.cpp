#include "tools/yfx/host_app.h"

#include <dzapp.h>

namespace yfx {

namespace {

// QApplication keeps references to these for its whole life.
int g_argc = 1;
char g_arg0[] = "yfx";
char* g_argv[] = {g_arg0, nullptr};

} // namespace

std::unique_ptr<DzApp> makeHostApp() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::make_unique<DzApp>(g_argc, g_argv);
}

} // namespace yfx
