// The command-line conventions of the file commands: options start with
// "--" (and "-h" asks for help), "--" ends the options, everything else is an
// argument. Paths on the command line are UTF-8.
#pragma once

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace yfx {

struct ParsedArgs {
    bool help = false;
    std::vector<std::string> options;    // the options given, each once
    std::vector<std::string> positional; // the arguments in order
    std::string error;                   // set on a usage error

    bool has(const char* option) const;
};

// Splits `args` into options and arguments. An option not in `allowed` (nor
// --help / -h) is a usage error: false, with `error` saying which.
bool parseArgs(const std::vector<std::string>& args, std::initializer_list<const char*> allowed,
               ParsedArgs& out);

// The common start of every file command: parses `args`, prints the help for
// --help, and reports a usage error on stderr as "yfx NAME: ... (see yfx NAME
// --help)", where a wrong number of arguments reads "expects EXPECTS". Returns
// -1 when the command should go on, else the exit status to return.
int parseCommandArgs(const std::vector<std::string>& args, const char* name,
                     std::initializer_list<const char*> allowed, void (*printHelp)(std::FILE*),
                     std::size_t minArgs, std::size_t maxArgs, const char* expects,
                     ParsedArgs& out);

// Takes the options of `names` that carry a value ("--size 64x64") out of
// `args`, up to a "--", into `values` (name to value). A name without a
// value, or given twice with different values, is a usage error: false with
// `error` saying which. The rest of `args` is left for parseCommandArgs.
bool takeValueOptions(std::vector<std::string>& args, std::initializer_list<const char*> names,
                      std::map<std::string, std::string>& values, std::string& error);

// A command-line path as the wide host path the reader takes. Bytes that are
// not valid UTF-8 are taken one by one as Latin-1 characters.
std::wstring hostPathFromArg(const std::string& arg);

} // namespace yfx
