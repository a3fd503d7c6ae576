#include "plugin/message_box.h"

#include "compat/qt_compat.h"

#include <utility>

namespace yfx {

namespace {

MessageSink& installedSink() {
    static MessageSink sink;
    return sink;
}

} // namespace

int showMessage(const Message& message) {
    if (const MessageSink& sink = installedSink()) {
        return sink(message);
    }
    if (message.kind == MessageKind::Warning) {
        return QMessageBox::warning(nullptr, message.title, message.text, message.button, QString(),
                                    QString(), 0, -1);
    }
    return QMessageBox::information(nullptr, message.title, message.text, message.button, QString(),
                                    QString(), 0, -1);
}

int showWarning(const QString& title, const QString& text, const QString& button) {
    return showMessage(Message{MessageKind::Warning, title, text, button});
}

int showInformation(const QString& title, const QString& text, const QString& button) {
    return showMessage(Message{MessageKind::Information, title, text, button});
}

MessageSink setMessageSink(MessageSink sink) {
    return std::exchange(installedSink(), std::move(sink));
}

} // namespace yfx
