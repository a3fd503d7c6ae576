// yfx info FILE [--json]: what the headers of a project file say, without
// building a document (see tools/yfx/header_inspect.h). Exit status 1 when
// the headers cannot be read or do not match the file.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/header_inspect.h"
#include "tools/yfx/json_writer.h"

#include "format/reader_file_system.h"

#include <cstdio>

namespace yfx {

namespace {

void printInfoHelp(std::FILE* out) {
    std::fputs("usage: yfx info FILE [--json]\n"
               "\n"
               "Prints what the headers of a project file say, without reading its records:\n"
               "the compressed container around the stream (version, flags, inner size,\n"
               "compressed size, ratio), then the stream's version, flags and size and each\n"
               "section's count and offset, or, for version 34, each chunk's tag, length and\n"
               "offset and the names and sizes of the embedded files. A size or offset that\n"
               "does not match the file is reported as a problem.\n"
               "\n"
               "options:\n"
               "  --json     print one JSON object instead of text\n"
               "  --help     show this text\n"
               "\n"
               "exit status: 0 headers match the file, 1 unreadable or mismatched, 2 usage error\n",
               out);
}

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

void printText(const std::string& path, const HeaderReport& r) {
    std::printf("%s: %llu bytes\n", path.c_str(), static_cast<unsigned long long>(r.file_size));
    for (const ContainerLayer& c : r.containers) {
        std::printf("container: version %u, flags %s, inner size %u, compressed size %llu, "
                    "ratio %.2f\n",
                    c.version, hex(c.flags).c_str(), c.inner_size,
                    static_cast<unsigned long long>(c.compressed_size), c.ratio);
    }
    std::printf("version %u (%s layout), flags %s, size %u, header %u bytes\n", r.version,
                r.chunked ? "chunked" : "sectioned", hex(r.flags).c_str(), r.size, r.header_size);
    if (!r.chunked) {
        std::printf("sections:\n");
        for (const HeaderSection& s : r.sections) {
            std::printf("  %-13s count %-8d offset %u\n", s.name, s.count, s.offset);
        }
    } else {
        std::printf("chunks:\n");
        for (const HeaderChunk& c : r.chunks) {
            std::printf("  %-15s tag 0x%08X  length %-8u offset %llu\n", c.name, c.tag, c.length,
                        static_cast<unsigned long long>(c.offset));
        }
        std::printf("embedded files: %zu\n", r.files.size());
        for (const EmbeddedFile& f : r.files) {
            std::printf("  %s, %u bytes\n", jsonQuoted(wideToUtf8(f.name.c_str())).c_str(), f.size);
        }
    }
    if (!r.problems.empty()) {
        std::printf("problems:\n");
        for (const std::string& p : r.problems) {
            std::printf("  %s\n", p.c_str());
        }
    }
}

void printJson(const std::string& path, const HeaderReport& r, JsonWriter& json) {
    json.beginObject();
    json.key("file");
    json.wideValue(hostPathFromArg(path).c_str());
    json.key("file_size");
    json.value(r.file_size);
    json.key("containers");
    json.beginArray();
    for (const ContainerLayer& c : r.containers) {
        json.beginObject();
        json.key("version");
        json.value(c.version);
        json.key("flags");
        json.value(c.flags);
        json.key("inner_size");
        json.value(c.inner_size);
        json.key("compressed_size");
        json.value(c.compressed_size);
        json.key("ratio");
        json.value(c.ratio);
        json.endObject();
    }
    json.endArray();
    json.key("version");
    json.value(r.version);
    json.key("layout");
    json.value(r.chunked ? "chunked" : "sectioned");
    json.key("flags");
    json.value(r.flags);
    json.key("size");
    json.value(r.size);
    json.key("header_size");
    json.value(r.header_size);
    json.key("sections");
    json.beginArray();
    for (const HeaderSection& s : r.sections) {
        json.beginObject();
        json.key("name");
        json.value(s.name);
        json.key("count");
        json.value(s.count);
        json.key("offset");
        json.value(s.offset);
        json.endObject();
    }
    json.endArray();
    json.key("chunks");
    json.beginArray();
    for (const HeaderChunk& c : r.chunks) {
        json.beginObject();
        json.key("tag");
        json.value(c.tag);
        json.key("name");
        json.value(c.name);
        json.key("length");
        json.value(c.length);
        json.key("offset");
        json.value(c.offset);
        json.endObject();
    }
    json.endArray();
    json.key("embedded_files");
    json.beginArray();
    for (const EmbeddedFile& f : r.files) {
        json.beginObject();
        json.key("name");
        json.wideValue(f.name.c_str());
        json.key("size");
        json.value(f.size);
        json.endObject();
    }
    json.endArray();
    json.key("problems");
    json.beginArray();
    for (const std::string& p : r.problems) {
        json.value(p);
    }
    json.endArray();
    json.endObject();
}

} // namespace

int runInfo(const std::vector<std::string>& args) {
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(args, "info", {"--json"}, printInfoHelp, 1, 1, "one FILE", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string& path = parsed.positional[0];
    const bool asJson = parsed.has("--json");

    std::vector<std::uint8_t> image;
    std::string error;
    HeaderReport report;
    const bool read = readWholeFile(hostPathFromArg(path), image, error) == 1 &&
                      inspectHeaders(image, report, error);
    if (!read) {
        std::fprintf(stderr, "yfx info: %s: %s\n", path.c_str(), error.c_str());
        if (asJson) {
            JsonWriter json(stdout);
            json.beginObject();
            json.key("error");
            json.value(error);
            json.endObject();
            json.finish();
            std::fputc('\n', stdout);
        }
        return kExitFailure;
    }
    bool written = true;
    if (asJson) {
        JsonWriter json(stdout);
        printJson(path, report, json);
        written = json.finish() && std::fputc('\n', stdout) != EOF;
    } else {
        printText(path, report);
    }
    if (std::fflush(stdout) != 0 || !written) {
        std::fprintf(stderr, "yfx info: cannot write the output\n");
        return kExitFailure;
    }
    for (const std::string& p : report.problems) {
        std::fprintf(stderr, "yfx info: %s: %s\n", path.c_str(), p.c_str());
    }
    return report.problems.empty() ? kExitSuccess : kExitFailure;
}

} // namespace yfx
