#include "tools/yfx/commands.h"

namespace yfx {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"plugins", "load the plug-in module as the host does and list what it registers",
         &runPlugins},
        {"info", "print what a project file's headers say, without reading its records", &runInfo},
        {"dump", "load a project file and print its document (text or --json)", &runDump},
        {"validate", "load project files and report OK or why each is rejected", &runValidate},
        {"convert", "rewrite a project file, or convert to and from model files (glTF, ...)",
         &runConvert},
        {"sample", "write the built-in sample scene as a project file", &runSample},
        {"export", "export the built-in demo scene through the plug-in's exporter", &runExport},
        {"import", "import a project file through the plug-in's importer and print the scene",
         &runImport},
        {"render", "draw a project file's scene into a PNG picture", &runRender},
        {"uvs", "draw a project file's UV layouts into PNG pictures", &runUvs},
    };
    return table;
}

} // namespace yfx
