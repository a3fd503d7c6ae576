// DzMainWindow: the host's main window. Only the application object creates
// it (DzApp::createInterface in the stand-in).
//
// The stand-in has no 3D viewports: repaintActive3DViewport() only counts its
// calls, so that a harness can see that a refresh was asked for.
//
// What still differs from the host: it is a Qt 5 QMainWindow (the host's is Qt
// 4's, from QtGui); of the window's many members only the viewport refresh the
// plug-in calls is declared, plus the stand-in's repaint counter. Constructor
// and destructor are private as in the host (the application makes and deletes
// the window).
#pragma once

#include "dzerrorcodes.h"

#include <QtWidgets/QMainWindow>

class DZ_EXPORT DzMainWindow : public QMainWindow {
    Q_OBJECT
public:
    // How many times repaintActive3DViewport() has been called.
    int getRepaintCount() const { return m_repaintCount; }

public slots:
    void repaintActive3DViewport();

private:
    friend class DzApp;
    DzMainWindow();
    ~DzMainWindow() override;

    int m_repaintCount = 0;
};
