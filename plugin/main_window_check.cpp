#include "plugin/main_window_check.h"

#include "plugin/message_box.h"

#include <dzapp.h>
#include <dzmainwindow.h>

namespace yfx {

DzMainWindow* mainWindowOrWarn(const QMetaObject& filterClass) {
    DzMainWindow* mainWindow = dzApp != nullptr ? dzApp->getInterface() : nullptr;
    if (mainWindow == nullptr) {
        showWarning(filterClass.tr("Error", nullptr),
                    filterClass.tr("The main window has not been created yet.", nullptr),
                    filterClass.tr("&OK", nullptr));
    }
    return mainWindow;
}

void setWideText(wchar_t* buffer, int capacity, const wchar_t* text) {
    if (capacity <= 0) {
        return;
    }
    int i = 0;
    for (; text != nullptr && text[i] != 0 && i < capacity - 1; ++i) {
        buffer[i] = text[i];
    }
    buffer[i] = 0;
}

} // namespace yfx
