// The host harness of the commands that load the plug-in: the application
// object the plug-in expects to find in `dzApp`, without a main window.
#pragma once

#include <memory>

class DzApp;

namespace yfx {

// Creates the application object. Without a display setting it uses Qt's
// "offscreen" platform, as the tool never shows a window; without a runtime
// folder (XDG_RUNTIME_DIR) it makes a private one for the process's life.
std::unique_ptr<DzApp> makeHostApp();

} // namespace yfx
