// DzMainWindow: the host's main window. Only the application object creates
// it (DzApp::createInterface in the stand-in).
//
// The stand-in has no 3D viewports: repaintActive3DViewport() only counts its
// calls, so that a harness can see that a refresh was asked for.
#pragma once

#include "dzgeneraldefs.h"

#include <QtWidgets/QMainWindow>

class DZ_EXPORT DzMainWindow : public QMainWindow {
    Q_OBJECT
public:
    ~DzMainWindow() override;

    // How many times repaintActive3DViewport() has been called.
    int getRepaintCount() const { return m_repaintCount; }

public slots:
    void repaintActive3DViewport();

private:
    friend class DzApp;
    DzMainWindow();

    int m_repaintCount = 0;
};
