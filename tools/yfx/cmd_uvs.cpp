// yfx uvs FILE OUT.png: pictures of the materials' UV layouts, drawn by the
// host-free UV layout drawing and written as PNG.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/colour_maps.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/load_report.h"
#include "tools/yfx/picture_args.h"
#include "tools/yfx/texture_image.h"

#include "format/reader.h"
#include "platform/utf8.h"
#include "render/uv_layout.h"

#include <cstdio>
#include <map>

namespace yfx {

namespace {

void printUvsHelp(std::FILE* out) {
    std::fputs("usage: yfx uvs FILE.yfx OUT.png [--material NAME|INDEX] [--tile N] [--size S]\n"
               "\n"
               "Loads a project file as an import does and writes a picture of the UV layout\n"
               "of each material that polygons use: the UDIM tiles its corners fall in as a\n"
               "grid with their numbers (1001 + column + 10 x row, columns and rows 0 to 9),\n"
               "the material's colour map under tile 1001 when the file can be read, and the\n"
               "polygons' UV edges over them. Each picture is written as OUT with '_' and the\n"
               "material's name before the extension (characters other than letters, digits,\n"
               "'-' and '.' become '_'; a name that repeats also gets its index); with\n"
               "--material, the one picture is OUT itself. Every file written is listed.\n"
               "\n"
               "options:\n"
               "  --material M  only material M: its name, else its index\n"
               "  --tile N      only tile N (1001 to 1100)\n"
               "  --size S      the picture's longer side in pixels (default 1024, 16 to 16384)\n"
               "  --help        show this text\n"
               "\n"
               "exit status: 0 success, 1 the file is rejected, has no such material or a\n"
               "picture cannot be written, 2 usage error\n",
               out);
}

// The material named `text`, else the one at that index; -1 when none.
std::int32_t findMaterial(const SceneDoc& doc, const std::string& text) {
    for (std::size_t m = 0; m < doc.materials.size(); ++m) {
        if (wideToUtf8(doc.materials[m].name.wide) == text) {
            return std::int32_t(m);
        }
    }
    long index = 0;
    if (parseWholeNumber(text, 0, long(doc.materials.size()) - 1, index)) {
        return std::int32_t(index);
    }
    return -1;
}

std::string safeName(const std::string& name) {
    std::string out;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.';
        out += plain ? c : '_';
    }
    return out;
}

// OUT with "_suffix" before its extension (the last dot of its last part).
std::string withSuffix(const std::string& target, const std::string& suffix) {
    const std::size_t slash = target.find_last_of("/\\");
    const std::size_t dot = target.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return target + "_" + suffix;
    }
    return target.substr(0, dot) + "_" + suffix + target.substr(dot);
}

} // namespace

int runUvs(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::map<std::string, std::string> values;
    std::string error;
    render::UvLayoutSettings settings;
    long number = 0;
    if (takeValueOptions(rest, {"--material", "--tile", "--size"}, values, error)) {
        if (values.count("--tile") != 0) {
            if (parseWholeNumber(values["--tile"], render::kFirstTile, render::kLastTile, number)) {
                settings.tile = int(number);
            } else {
                error = "--tile needs a tile from 1001 to 1100, not '" + values["--tile"] + "'";
            }
        }
        if (error.empty() && values.count("--size") != 0) {
            if (parseWholeNumber(values["--size"], 16, 16384, number)) {
                settings.size = int(number);
            } else {
                error =
                    "--size needs a whole number from 16 to 16384, not '" + values["--size"] + "'";
            }
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "yfx uvs: %s (see yfx uvs --help)\n", error.c_str());
        return kExitUsage;
    }
    ParsedArgs parsed;
    const int early =
        parseCommandArgs(rest, "uvs", {}, printUvsHelp, 2, 2, "FILE and OUT.png", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string& path = parsed.positional[0];
    const std::string& target = parsed.positional[1];

    SceneDoc doc;
    std::string reason;
    const int status = loadForCommand(doc, path, reason, inspectionLoad());
    if (status != kLoadOk) {
        std::fprintf(stderr, "yfx uvs: %s: %s (status %d)\n", path.c_str(), reason.c_str(), status);
        return kExitFailure;
    }
    // The materials drawn: the one asked for, else every one polygons use.
    const std::vector<std::vector<render::PolygonRef>> lists = render::polygonsByMaterial(doc);
    std::vector<std::int32_t> drawn;
    const bool one = values.count("--material") != 0;
    if (one) {
        const std::int32_t m = findMaterial(doc, values["--material"]);
        if (m < 0) {
            std::fprintf(stderr, "yfx uvs: %s: no material named or numbered '%s'\n", path.c_str(),
                         values["--material"].c_str());
            return kExitFailure;
        }
        drawn.push_back(m);
    } else {
        for (std::size_t m = 0; m < lists.size(); ++m) {
            if (!lists[m].empty()) {
                drawn.push_back(std::int32_t(m));
            }
        }
        if (drawn.empty()) {
            std::fprintf(stderr, "yfx uvs: %s: no polygon uses a material; nothing drawn\n",
                         path.c_str());
            return kExitFailure;
        }
    }
    std::vector<std::uint8_t> wanted(doc.materials.size(), 0);
    for (const std::int32_t m : drawn) {
        wanted[std::size_t(m)] = 1;
    }
    ColourMaps maps;
    readColourMaps(doc, path, wanted, maps);
    for (const std::string& problem : maps.problems) {
        std::fprintf(stderr, "yfx uvs: %s: %s; drawn without it\n", path.c_str(), problem.c_str());
    }
    std::map<std::string, int> nameUses;
    for (const std::int32_t m : drawn) {
        ++nameUses[safeName(wideToUtf8(doc.materials[std::size_t(m)].name.wide))];
    }
    for (const std::int32_t m : drawn) {
        const std::string name = safeName(wideToUtf8(doc.materials[std::size_t(m)].name.wide));
        const std::string file = one ? target
                                     : withSuffix(target, nameUses[name] > 1 || name.empty()
                                                              ? name + "_" + std::to_string(m)
                                                              : name);
        settings.colour_map = maps.of(std::size_t(m));
        RgbaImage picture;
        if (!render::drawUvLayout(doc, lists[std::size_t(m)], settings, picture)) {
            std::fprintf(stderr, "yfx uvs: not enough memory for a picture of %d pixels\n",
                         settings.size);
            return kExitFailure;
        }
        if (!writePngImage(picture, file, error)) {
            std::fprintf(stderr, "yfx uvs: %s: %s\n", file.c_str(), error.c_str());
            return kExitFailure;
        }
        std::printf("picture: %s (%dx%d)\n", file.c_str(), picture.width, picture.height);
    }
    return kExitSuccess;
}

} // namespace yfx
