// yfx sample OUT [--v2]: writes the tool's built-in sample scene (a record of
// every kind, tools/yfx/sample_doc.h) as a project file, the same way
// "yfx convert" writes.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/project_output.h"
#include "tools/yfx/sample_doc.h"

#include <cstdio>

namespace yfx {

namespace {

void printSampleHelp(std::FILE* out) {
    std::fputs("usage: yfx sample OUT [--v2]\n"
               "\n"
               "Writes a small built-in scene (two lights, a camera, two materials with maps,\n"
               "two groups, a weighted cube with two UV sets, two bones and an animation) to\n"
               "OUT as a compressed version 31 file, or version 9 with --v2.\n"
               "\n"
               "options:\n"
               "  --v2       write version 9 instead of version 31\n"
               "  --help     show this text\n"
               "\n"
               "exit status: 0 success, 1 OUT cannot be written, 2 usage error\n",
               out);
}

} // namespace

int runSample(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(args, "sample", {"--v2"}, printSampleHelp, 1, 1, "OUT", parsed);
    if (early >= 0) {
        return early;
    }
    SceneDoc doc = makeSampleDocument();
    std::string error;
    if (!saveProjectFile(doc, parsed.has("--v2"), parsed.positional[0], error)) {
        std::fprintf(stderr, "yfx sample: %s: %s\n", parsed.positional[0].c_str(), error.c_str());
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace yfx
