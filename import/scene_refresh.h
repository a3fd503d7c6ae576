// Letting the host's main window redraw after the import changed the scene.
#pragma once

namespace yfx {
namespace importer {

// When the host has its main window: an update of the window (when asked)
// and a repaint of its active 3D viewport. Nothing without one.
void refreshMainWindow(bool updateWindow);

} // namespace importer
} // namespace yfx
