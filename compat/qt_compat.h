// The one place where the two Qt versions the host-facing code builds against
// differ: the real host ships Qt 4.8, the stand-in host uses Qt 5. Sources of
// export/, import/ and plugin/ include this header instead of the headers
// below and hold no Qt version test of their own.
//
// - Widget classes: Qt 5 keeps them in the QtWidgets module, Qt 4 in QtGui.
//   Every widget class the plug-in uses is included here.
// - QStringLiteral: Qt 5 builds the string at compile time; Qt 4 has no such
//   macro, so there it converts the UTF-8 literal at run time (same text).
//
// Signal connections are written with SIGNAL()/SLOT(), which both accept (Qt 4
// has no function-pointer connect, and its signals are protected).
#pragma once

#include <QtCore/QString>
#include <QtCore/QtGlobal>

#if QT_VERSION >= 0x050000
#include <QtWidgets/QAction>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpacerItem>
#include <QtWidgets/QStyle>
#include <QtWidgets/QWhatsThis>
#else
#include <QtGui/QAction>
#include <QtGui/QBoxLayout>
#include <QtGui/QCheckBox>
#include <QtGui/QDialog>
#include <QtGui/QGroupBox>
#include <QtGui/QLabel>
#include <QtGui/QLineEdit>
#include <QtGui/QMessageBox>
#include <QtGui/QPushButton>
#include <QtGui/QSpacerItem>
#include <QtGui/QStyle>
#include <QtGui/QWhatsThis>

#ifndef QStringLiteral
#define QStringLiteral(text) QString::fromUtf8(text, int(sizeof(text)) - 1)
#endif
#endif
