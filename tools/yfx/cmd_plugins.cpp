// yfx plugins [--json] [MODULE]: loads the plug-in module as the host does and
// lists what it registers: its SDK version, name, version, author and
// description, and for each class factory the class name, GUID, kind and the
// extension and description of the filter it creates.
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/host_app.h"
#include "tools/yfx/plugin_module.h"

#include <dzapp.h>
#include <dzexporter.h>
#include <dzimporter.h>
#include <dzplugin.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <string>

namespace yfx {

namespace {

void printPluginsHelp(std::FILE* out) {
    std::fputs("usage: yfx plugins [--json] [MODULE]\n"
               "\n"
               "Loads the plug-in module (default: the one built beside this tool) the way\n"
               "the host does and prints its SDK version, name, version, author and\n"
               "description, and for every class factory the class name, GUID, kind and\n"
               "the extension and description of the filter it creates.\n"
               "\n"
               "options:\n"
               "  --json     print one JSON object instead of text\n"
               "  --help     show this text\n",
               out);
}

struct FactoryInfo {
    std::string className;
    std::string guid;
    std::string kind; // "exporter", "importer" or "other"
    std::vector<std::string> extensions;
    std::string description;
};

std::string utf8(const QString& text) {
    return text.toStdString();
}

// Creates one instance through the factory, as the host does when the user
// picks the file type, and asks it for its extension and description.
bool describeFactory(const DzClassFactory& factory, FactoryInfo& info, QString& error) {
    info.className = factory.className();
    info.guid = utf8(factory.classID().toString());
    std::unique_ptr<QObject> object(factory.createInstance());
    if (!object) {
        error = QStringLiteral("factory %1 created no object").arg(factory.className());
        return false;
    }
    if (auto* exporter = qobject_cast<DzExporter*>(object.get())) {
        info.kind = "exporter";
        info.extensions.push_back(utf8(exporter->getExtension()));
        info.description = utf8(exporter->getDescription());
    } else if (auto* importer = qobject_cast<DzImporter*>(object.get())) {
        info.kind = "importer";
        for (int i = 0; i < importer->getNumExtensions(); ++i) {
            info.extensions.push_back(utf8(importer->getExtension(i)));
        }
        info.description = utf8(importer->getDescription());
    } else {
        info.kind = "other";
    }
    return true;
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : ", ") + item;
    }
    return out;
}

void printText(const LoadedPlugin& loaded, const std::vector<FactoryInfo>& factories) {
    const DzPlugin& plugin = *loaded.plugin;
    std::printf("module:      %s\n", utf8(loaded.path).c_str());
    std::printf("sdk version: %s\n", utf8(loaded.sdkVersion.getVersionString()).c_str());
    std::printf("name:        %s\n", utf8(plugin.getName()).c_str());
    std::printf("version:     %s\n", utf8(plugin.getVersionString()).c_str());
    std::printf("author:      %s\n", utf8(plugin.getAuthor()).c_str());
    std::printf("description: %s\n", utf8(plugin.getDescription()).c_str());
    std::printf("factories:   %d\n", int(factories.size()));
    for (std::size_t i = 0; i < factories.size(); ++i) {
        const FactoryInfo& f = factories[i];
        std::printf("factory %d: %s\n", int(i), f.className.c_str());
        std::printf("  guid:        %s\n", f.guid.c_str());
        std::printf("  kind:        %s\n", f.kind.c_str());
        std::printf("  extensions:  %s\n", joined(f.extensions).c_str());
        std::printf("  description: %s\n", f.description.c_str());
    }
}

void printJson(const LoadedPlugin& loaded, const std::vector<FactoryInfo>& factories) {
    const DzPlugin& plugin = *loaded.plugin;
    nlohmann::json out = {
        {"module", utf8(loaded.path)},
        {"sdk_version", utf8(loaded.sdkVersion.getVersionString())},
        {"name", utf8(plugin.getName())},
        {"version", utf8(plugin.getVersionString())},
        {"author", utf8(plugin.getAuthor())},
        {"description", utf8(plugin.getDescription())},
        {"factories", nlohmann::json::array()},
    };
    for (const FactoryInfo& f : factories) {
        out["factories"].push_back({{"class", f.className},
                                    {"guid", f.guid},
                                    {"kind", f.kind},
                                    {"extensions", f.extensions},
                                    {"description", f.description}});
    }
    std::printf("%s\n", out.dump(2).c_str());
}

} // namespace

int runPlugins(const std::vector<std::string>& args) {
    bool json = false;
    std::string modulePath;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            printPluginsHelp(stdout);
            return kExitSuccess;
        }
        if (arg == "--json") {
            json = true;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "yfx plugins: unknown option '%s' (see yfx plugins --help)\n",
                         arg.c_str());
            return kExitUsage;
        } else if (modulePath.empty()) {
            modulePath = arg;
        } else {
            std::fprintf(stderr, "yfx plugins: only one MODULE may be given (see yfx plugins "
                                 "--help)\n");
            return kExitUsage;
        }
    }

    std::unique_ptr<DzApp> app = makeHostApp();
    const QString path =
        modulePath.empty() ? defaultPluginModulePath() : QString::fromStdString(modulePath);
    LoadedPlugin loaded;
    QString error;
    if (!loadPluginModule(path, loaded, error)) {
        std::fprintf(stderr, "yfx plugins: %s\n", utf8(error).c_str());
        return kExitFailure;
    }

    std::vector<FactoryInfo> factories;
    for (DzClassFactoryIterator it = loaded.plugin->getFactories(); it.hasNext();) {
        const DzClassFactory* factory = it.next();
        FactoryInfo info;
        if (factory == nullptr || !describeFactory(*factory, info, error)) {
            std::fprintf(stderr, "yfx plugins: %s\n",
                         factory == nullptr ? "null class factory" : utf8(error).c_str());
            return kExitFailure;
        }
        factories.push_back(std::move(info));
    }

    if (json) {
        printJson(loaded, factories);
    } else {
        printText(loaded, factories);
    }
    return kExitSuccess;
}

} // namespace yfx
