#include "tools/yfx/commands.h"

namespace yfx {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"plugins", "load the plug-in module as the host does and list what it registers",
         &runPlugins},
    };
    return table;
}

} // namespace yfx
