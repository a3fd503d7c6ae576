#include "import/scene_refresh.h"

#include <dzapp.h>
#include <dzmainwindow.h>

namespace yfx {
namespace importer {

void refreshMainWindow(bool updateWindow) {
    DzMainWindow* window = dzApp != nullptr ? dzApp->getInterface() : nullptr;
    if (window == nullptr) {
        return;
    }
    if (updateWindow) {
        window->update();
    }
    window->repaintActive3DViewport();
}

} // namespace importer
} // namespace yfx
