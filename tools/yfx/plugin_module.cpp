#include "tools/yfx/plugin_module.h"

#include <dzplugin.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>

namespace yfx {

namespace {

using SdkVersionEntry = DzVersion (*)();
using PluginDefinitionEntry = DzPlugin* (*)();

} // namespace

bool loadPluginModule(const QString& path, LoadedPlugin& out, QString& error) {
    auto library = std::make_unique<QLibrary>(path);
    if (!library->load()) {
        error = QStringLiteral("cannot load module %1: %2").arg(path, library->errorString());
        return false;
    }
    auto sdkVersion = reinterpret_cast<SdkVersionEntry>(library->resolve("getSDKVersion"));
    if (sdkVersion == nullptr) {
        error = QStringLiteral("module %1 has no entry point getSDKVersion").arg(path);
        return false;
    }
    auto definition =
        reinterpret_cast<PluginDefinitionEntry>(library->resolve("getPluginDefinition"));
    if (definition == nullptr) {
        error = QStringLiteral("module %1 has no entry point getPluginDefinition").arg(path);
        return false;
    }
    const DzVersion version = sdkVersion();
    if (version < DZ_MIN_SDK_VERSION ||
        version.getMajorVersion() != DZ_SDK_VERSION.getMajorVersion()) {
        error = QStringLiteral("module %1 was built against SDK %2; this host accepts %3 to %4.x")
                    .arg(path, version.getVersionString(), DZ_MIN_SDK_VERSION.getVersionString())
                    .arg(DZ_SDK_VERSION.getMajorVersion());
        return false;
    }
    DzPlugin* plugin = definition();
    if (plugin == nullptr) {
        error = QStringLiteral("module %1 returned no plug-in object").arg(path);
        return false;
    }
    out.path = library->fileName();
    out.sdkVersion = version;
    out.plugin = plugin;
    out.library = std::move(library);
    return true;
}

QString defaultPluginModulePath() {
    const QDir exeDir(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral(YFX_PLUGIN_MODULE_NAME);
    const QString beside = exeDir.filePath(name);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    return QDir::cleanPath(
        exeDir.filePath(QStringLiteral(YFX_PLUGIN_MODULE_RELATIVE_DIR) + QLatin1Char('/') + name));
}

} // namespace yfx
