// yfx dump FILE [--json]: loads a project file as the importer does (after
// the post-parse passes, but writing no embedded file) and prints the
// document, as a readable summary or as one JSON object (tools/yfx/doc_json.h).
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/doc_json.h"
#include "tools/yfx/doc_summary.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/json_writer.h"
#include "tools/yfx/load_report.h"

#include "format/reader.h"

#include <cstdio>

namespace yfx {

namespace {

void printDumpHelp(std::FILE* out) {
    std::fputs("usage: yfx dump FILE [--json]\n"
               "\n"
               "Loads a project file of any readable version, as an import does, and prints\n"
               "the document: counts, names, materials with their maps, bones as a tree and\n"
               "animations with their key counts and frame range; or, with --json, every\n"
               "record as one JSON object (see the README). Nothing is written: the files a\n"
               "version 34 file embeds are not placed beside it. A file that is rejected prints\n"
               "{\"status\": S, \"error\": \"...\"} with --json, the reason on stderr, and\n"
               "exits with 1.\n"
               "\n"
               "options:\n"
               "  --json     print one JSON object instead of text\n"
               "  --help     show this text\n"
               "\n"
               "exit status: 0 success, 1 the file is rejected, 2 usage error\n",
               out);
}

} // namespace

int runDump(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(args, "dump", {"--json"}, printDumpHelp, 1, 1, "one FILE", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string& path = parsed.positional[0];
    const bool asJson = parsed.has("--json");

    SceneDoc doc;
    std::string reason;
    const int status = loadForCommand(doc, path, reason, inspectionLoad());
    JsonWriter json(stdout);
    if (status != kLoadOk) {
        std::fprintf(stderr, "yfx dump: %s: %s (status %d)\n", path.c_str(), reason.c_str(),
                     status);
        if (asJson) {
            json.beginObject();
            json.key("status");
            json.value(status);
            json.key("error");
            json.value(reason);
            json.endObject();
            json.finish();
            std::fputc('\n', stdout);
        }
        return kExitFailure;
    }
    bool written = true;
    if (asJson) {
        writeDocumentJson(doc, json);
        written = json.finish() && std::fputc('\n', stdout) != EOF;
    } else {
        const std::string text = documentSummary(doc);
        written = std::fprintf(stdout, "%s: ", path.c_str()) >= 0 &&
                  std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    }
    if (std::fflush(stdout) != 0 || !written) {
        std::fprintf(stderr, "yfx dump: cannot write the output\n");
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace yfx
