#include "dzapp.h"

#include "dzimagemgr.h"
#include "dzmainwindow.h"

#include <cstdio>

DzApp* dzApp = nullptr;

DzApp::DzApp(int& argc, char** argv) : QApplication(argc, argv) {
    m_imageMgr = new DzImageMgr(nullptr);
    dzApp = this;
}

DzApp::~DzApp() {
    deleteInterface();
    deleteImageMgr();
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

DzImageMgr* DzApp::createImageMgr() {
    if (!m_imageMgr) {
        m_imageMgr = new DzImageMgr(nullptr);
    }
    return m_imageMgr;
}

void DzApp::deleteImageMgr() {
    delete m_imageMgr;
    m_imageMgr = nullptr;
}

DzMainWindow* DzApp::getInterface() const {
    return m_mainWindow.data();
}

QWidget* DzApp::getDialogParent() const {
    return m_mainWindow.data();
}

void DzApp::warning(const QString& msg) {
    m_warnings.append(msg);
    std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
    std::fflush(stderr);
}

QStringList DzApp::takeWarnings() {
    QStringList taken;
    taken.swap(m_warnings);
    return taken;
}
