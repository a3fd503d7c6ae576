// The one way the plug-in shows a message: a box with no parent, a title, a
// text and a single button. A harness (the tests, a script host) can install a
// sink that receives each message instead of a box being shown.
#pragma once

#include <QtCore/QString>

#include <functional>

namespace yfx {

enum class MessageKind { Warning, Information };

struct Message {
    MessageKind kind;
    QString title;
    QString text;
    QString button;
};

// Receives a message and returns the index of the button "pressed".
using MessageSink = std::function<int(const Message&)>;

// Shows the message (QMessageBox::warning or ::information, the single button
// the default one, no escape button), or hands it to the installed sink.
// Returns the index of the button pressed: 0 for the only button.
int showMessage(const Message& message);

int showWarning(const QString& title, const QString& text, const QString& button);
int showInformation(const QString& title, const QString& text, const QString& button);

// Installs `sink` (an empty one restores the message boxes) and returns the
// one it replaces.
MessageSink setMessageSink(MessageSink sink);

} // namespace yfx
