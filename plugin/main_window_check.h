// The first step of both options steps: find the host's main window, the
// parent of the options dialog.
#pragma once

class DzMainWindow;
struct QMetaObject;

namespace yfx {

// The host's main window, or null after showing the warning "Error" / "The
// main window has not been created yet." / "&OK", its texts translated in the
// class context of `filterClass`. A missing application object counts as a
// missing main window.
DzMainWindow* mainWindowOrWarn(const QMetaObject& filterClass);

// Fills a wide text buffer of `capacity` characters, cutting `text` to fit
// and always terminating it.
void setWideText(wchar_t* buffer, int capacity, const wchar_t* text);

} // namespace yfx
