// yfx convert IN OUT [--v2]: loads a project file of any readable version
// and writes it as a version 31 container (version 9 with --v2) with every
// export option on. OUT is replaced in one step only when the whole file has
// been written; IN is never changed. The files a version 34 IN embeds are
// placed beside OUT, where the written file's textures are looked for.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/load_report.h"
#include "tools/yfx/project_output.h"

#include "format/reader.h"
#include "format/reader_texture_paths.h"

#include <cstdio>

namespace yfx {

namespace {

void printConvertHelp(std::FILE* out) {
    std::fputs("usage: yfx convert IN OUT [--v2]\n"
               "\n"
               "Loads IN (any readable version) and writes it to OUT as a compressed version\n"
               "31 file, or as a version 9 (\"v2.x\") file with --v2, with every export option\n"
               "on. The new file is written beside OUT under a temporary name and renamed over\n"
               "OUT once complete, so a failed convert leaves OUT as it was; IN is only read.\n"
               "The files a version 34 IN embeds are placed beside OUT (an existing file is\n"
               "never replaced).\n"
               "The time in the file's info strings is now, or SOURCE_DATE_EPOCH when set.\n"
               "What a version 9 file cannot hold is listed in the README.\n"
               "\n"
               "options:\n"
               "  --v2       write version 9 instead of version 31\n"
               "  --help     show this text\n"
               "\n"
               "exit status: 0 success, 1 IN is rejected or OUT cannot be written, 2 usage error\n",
               out);
}

// The folder OUT lies in, in the host convention; the working folder for a
// bare file name.
std::wstring folderOfOutput(const std::string& out) {
    const std::wstring folder = projectFolderOf(hostPathFromArg(out));
    return folder.empty() ? std::wstring(L".\\") : folder;
}

} // namespace

int runConvert(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(args, "convert", {"--v2"}, printConvertHelp, 2, 2, "IN and OUT", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string& in = parsed.positional[0];
    const std::string& out = parsed.positional[1];
    const bool version9 = parsed.has("--v2");

    SceneDoc doc;
    std::string reason;
    LoadOptions options;
    options.embedded_files_folder = folderOfOutput(out);
    const int status = loadForCommand(doc, in, reason, options);
    if (status != kLoadOk) {
        std::fprintf(stderr, "yfx convert: %s: %s (status %d)\n", in.c_str(), reason.c_str(),
                     status);
        return kExitFailure;
    }
    std::string error;
    if (!saveProjectFile(doc, version9, out, error)) {
        std::fprintf(stderr, "yfx convert: %s: %s\n", out.c_str(), error.c_str());
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace yfx
