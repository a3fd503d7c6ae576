// yfx: command-line host and tool for Marrowmap project files. Dispatches to
// the sub-commands of commands.cpp.
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"

#include <cstdio>
#include <cstring>

namespace {

void printUsage(std::FILE* out) {
    std::fputs("usage: yfx <command> [options] [arguments]\n"
               "\n"
               "Reads, checks and writes Marrowmap project files (.yfx) and hosts the\n"
               "plug-in module outside the 3D application.\n"
               "\n"
               "commands:\n",
               out);
    for (const yfx::Command& command : yfx::commands()) {
        std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
    }
    std::fputs("\n"
               "options:\n"
               "  --help     show this text; 'yfx <command> --help' shows a command's own\n"
               "\n"
               "exit status: 0 success, 1 failure, 2 usage error\n",
               out);
}

bool isHelp(const char* arg) {
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return yfx::kExitUsage;
    }
    if (isHelp(argv[1])) {
        printUsage(stdout);
        return yfx::kExitSuccess;
    }
    for (const yfx::Command& command : yfx::commands()) {
        if (std::strcmp(argv[1], command.name) == 0) {
            return command.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "yfx: unknown command '%s' (see yfx --help)\n", argv[1]);
    return yfx::kExitUsage;
}
