#include "dzmainwindow.h"

DzMainWindow::DzMainWindow() : QMainWindow(nullptr) {
    setObjectName(QStringLiteral("DzMainWindow"));
}

DzMainWindow::~DzMainWindow() = default;

void DzMainWindow::repaintActive3DViewport() {
    ++m_repaintCount;
}
