// The entry point a host harness uses to take the filters' messages
// (plugin/harness_entry.h). Built into the module for the stand-in host only:
// the real host never calls it.
#include "plugin/harness_entry.h"
#include "plugin/message_box.h"

#include <QtCore/QByteArray>

#include <new>

// The harness's way to the messages the filters show (plugin/harness_entry.h).
YFX_HARNESS_ENTRY void yfxSetHarnessMessageSink(YfxHarnessMessageSink sink, void* user) {
    // Nothing may throw across this C boundary: without memory for the new
    // sink the old one stays.
    try {
        if (sink == nullptr) {
            yfx::setMessageSink(yfx::MessageSink());
            return;
        }
        yfx::setMessageSink([sink, user](const yfx::Message& message) {
            const QByteArray title = message.title.toUtf8();
            const QByteArray text = message.text.toUtf8();
            const int kind = message.kind == yfx::MessageKind::Warning ? kYfxHarnessWarning
                                                                       : kYfxHarnessInformation;
            return sink(user, kind, title.constData(), text.constData());
        });
    } catch (const std::bad_alloc&) {
    }
}
