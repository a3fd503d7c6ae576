// The yfx sub-commands. Each lives in a file of its own and is listed once in
// commands.cpp; main.cpp only dispatches.
#pragma once

#include <string>
#include <vector>

namespace yfx {

// A command's entry point gets its own arguments (without "yfx" and the
// command name) and returns an exit status (exit_codes.h).
using CommandMain = int (*)(const std::vector<std::string>& args);

struct Command {
    const char* name;
    const char* summary; // one line for "yfx --help"
    CommandMain run;
};

const std::vector<Command>& commands();

// The commands.
int runPlugins(const std::vector<std::string>& args);
int runInfo(const std::vector<std::string>& args);
int runDump(const std::vector<std::string>& args);
int runValidate(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runSample(const std::vector<std::string>& args);
int runExport(const std::vector<std::string>& args);
int runImport(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
int runUvs(const std::vector<std::string>& args);

} // namespace yfx
