#include "tools/yfx/module_host.h"

#include <dzscene.h>

#include <QtCore/QLibrary>

#include <cstdio>

namespace yfx {

namespace {

// `user` is the command's name.
int printMessage(void* user, int kind, const char* title, const char* text) {
    std::fprintf(stderr, "yfx %s: %s%s: %s\n", static_cast<const char*>(user),
                 kind == kYfxHarnessWarning ? "warning: " : "", title, text);
    std::fflush(stderr);
    return 0;
}

} // namespace

HostSceneScope::HostSceneScope() {
    DzScene::create();
}

HostSceneScope::~HostSceneScope() {
    DzScene::destroy();
}

YfxSetHarnessMessageSinkFn findMessageSink(const LoadedPlugin& loaded, QString& error) {
    auto set = loaded.library ? reinterpret_cast<YfxSetHarnessMessageSinkFn>(
                                    loaded.library->resolve(kYfxSetHarnessMessageSinkName))
                              : nullptr;
    if (set == nullptr) {
        error = QStringLiteral("module %1 has no entry point %2")
                    .arg(loaded.path, QLatin1String(kYfxSetHarnessMessageSinkName));
    }
    return set;
}

MessageScope::MessageScope(YfxSetHarnessMessageSinkFn set, const char* command) : m_set(set) {
    m_set(&printMessage, const_cast<char*>(command));
}

MessageScope::~MessageScope() {
    m_set(nullptr, nullptr);
}

} // namespace yfx
