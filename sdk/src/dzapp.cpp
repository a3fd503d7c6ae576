#include "dzapp.h"

#include "dzmainwindow.h"

DzApp* dzApp = nullptr;

DzApp::DzApp(int& argc, char** argv) : QApplication(argc, argv) {
    dzApp = this;
}

DzApp::~DzApp() {
    deleteInterface();
    if (dzApp == this) {
        dzApp = nullptr;
    }
}

DzMainWindow* DzApp::createInterface() {
    if (m_mainWindow.isNull()) {
        m_mainWindow = new DzMainWindow();
    }
    return m_mainWindow.data();
}

void DzApp::deleteInterface() {
    delete m_mainWindow.data();
    m_mainWindow.clear();
}

DzMainWindow* DzApp::getInterface() const {
    return m_mainWindow.data();
}

QWidget* DzApp::getDialogParent() const {
    return m_mainWindow.data();
}
