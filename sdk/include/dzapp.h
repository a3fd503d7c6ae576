// DzApp: the host application object, a QApplication. The host harness (the
// tests, the yfx tool) constructs exactly one; while it lives the global
// `dzApp` points to it, before and after that `dzApp` is null.
//
// The main window is optional: the application starts without one and
// getInterface() gives null until the harness calls createInterface(), a
// stand-in addition. The application owns its main window and its image
// manager and deletes them when it is destroyed.
//
// The image manager: the application starts with one, as the host does. So
// that a harness can run code that must cope without it, deleteImageMgr() (a
// stand-in addition) removes it; getImageMgr() then gives null until
// createImageMgr() makes a new, empty one. Textures go with their manager:
// properties that held them then answer no map.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QPointer>
#include <QtCore/QStringList>
#include <QtWidgets/QApplication>

class DzImageMgr;
class DzMainWindow;

class DZ_EXPORT DzApp : public QApplication {
    Q_OBJECT
public:
    // `argc` must stay valid as long as the application lives (QApplication's rule).
    DzApp(int& argc, char** argv);
    ~DzApp() override;

    // Creates the main window if there is none yet and returns it (not shown).
    DzMainWindow* createInterface();
    // Deletes the main window; getInterface() gives null afterwards.
    void deleteInterface();
    // Creates an image manager if there is none and returns it.
    DzImageMgr* createImageMgr();
    // Deletes the image manager and its textures; getImageMgr() gives null afterwards.
    void deleteImageMgr();

public slots:
    // The main window, or null when running without the interface.
    DzMainWindow* getInterface() const;
    bool usingInterface() const { return getInterface() != nullptr; }
    // The parent for dialogs: the main window, or null without one.
    QWidget* getDialogParent() const;
    DzImageMgr* getImageMgr() const { return m_imageMgr; }
    // A warning for the host's log. The real host writes it to its log file;
    // the stand-in, which has none, writes the line to stderr and keeps it
    // for the harness (takeWarnings).
    void warning(const QString& msg);

public:
    // Stand-in addition: the warnings since the last call, oldest first.
    QStringList takeWarnings();

private:
    QPointer<DzMainWindow> m_mainWindow;
    DzImageMgr* m_imageMgr = nullptr;
    QStringList m_warnings;
};

// The application object, or null when none exists.
extern DZ_EXPORT DzApp* dzApp;
