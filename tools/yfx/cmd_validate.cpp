// yfx validate FILE...: loads each file as an import does (writing no
// embedded file) and reports OK or the reason it is rejected. Exit status 1
// if any file fails.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/load_report.h"

#include "format/reader.h"

#include <cstdio>

namespace yfx {

namespace {

void printValidateHelp(std::FILE* out) {
    std::fputs("usage: yfx validate FILE...\n"
               "\n"
               "Loads each project file as an import does and prints \"FILE: OK (version N)\"\n"
               "on stdout, or \"FILE: FAILED (status S): reason\" on stderr, where the reason\n"
               "says what failed and where (section, record, byte offset). Nothing is\n"
               "written: the files a version 34 file embeds are not placed beside it.\n"
               "\n"
               "options:\n"
               "  --help     show this text\n"
               "\n"
               "exit status: 0 every file is OK, 1 some file failed, 2 usage error\n",
               out);
}

} // namespace

int runValidate(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    const int early = parseCommandArgs(args, "validate", {}, printValidateHelp, 1,
                                       static_cast<std::size_t>(-1), "at least one FILE", parsed);
    if (early >= 0) {
        return early;
    }
    int failures = 0;
    for (const std::string& path : parsed.positional) {
        SceneDoc doc;
        std::string reason;
        const int status = loadForCommand(doc, path, reason, inspectionLoad());
        if (status == kLoadOk) {
            std::printf("%s: OK (version %d)\n", path.c_str(), doc.version);
        } else {
            ++failures;
            std::fflush(stdout);
            std::fprintf(stderr, "%s: FAILED (status %d): %s\n", path.c_str(), status,
                         reason.c_str());
        }
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "yfx validate: cannot write the output\n");
        return kExitFailure;
    }
    return failures == 0 ? kExitSuccess : kExitFailure;
}

} // namespace yfx
