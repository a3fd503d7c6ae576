// Loads a plug-in module the way the host does: dynamic loading, then the
// entry points getSDKVersion and getPluginDefinition by name.
#pragma once

#include <dzversion.h>

#include <QtCore/QLibrary>
#include <QtCore/QString>

#include <memory>

class DzPlugin;

namespace yfx {

struct LoadedPlugin {
    QString path;
    DzVersion sdkVersion;
    DzPlugin* plugin = nullptr;
    // Kept loaded for the life of the process: the module's static objects
    // and registered types must outlive everything that used them.
    std::unique_ptr<QLibrary> library;
};

// Loads the module at `path`. On failure returns false and says in `error`
// what failed: the load itself, a missing entry point, an SDK version the
// host does not accept, or no plug-in object.
bool loadPluginModule(const QString& path, LoadedPlugin& out, QString& error);

// The module built beside the tool: next to the executable, else where the
// build tree puts it relative to the executable. Needs the application object.
QString defaultPluginModulePath();

} // namespace yfx
