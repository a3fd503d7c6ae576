// What a command that drives one of the module's filters keeps around it: the
// host scene of the run, and the module's message boxes turned into lines on
// stderr.
#pragma once

#include "plugin/harness_entry.h"
#include "tools/yfx/plugin_module.h"

#include <QtCore/QString>

namespace yfx {

// The scene of one run: made empty here, destroyed with everything in it on
// the way out, before the application object goes.
class HostSceneScope {
public:
    HostSceneScope();
    ~HostSceneScope();
    HostSceneScope(const HostSceneScope&) = delete;
    HostSceneScope& operator=(const HostSceneScope&) = delete;
};

// The module's harness entry for its messages; null, with `error` saying so,
// when the module has none (its messages would then open boxes that nobody
// can close).
YfxSetHarnessMessageSinkFn findMessageSink(const LoadedPlugin& loaded, QString& error);

// While it lives, each message the module would show in a box goes to stderr
// as "yfx COMMAND: [warning: ]TITLE: TEXT".
class MessageScope {
public:
    // `command` must outlive the scope (a string literal).
    MessageScope(YfxSetHarnessMessageSinkFn set, const char* command);
    ~MessageScope();
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

private:
    YfxSetHarnessMessageSinkFn m_set;
};

} // namespace yfx
