// yfx render FILE OUT.png: a picture of the document as it loads, drawn by
// the host-free scene renderer and written as PNG.
#include "tools/yfx/cli_args.h"
#include "tools/yfx/colour_maps.h"
#include "tools/yfx/commands.h"
#include "tools/yfx/exit_codes.h"
#include "tools/yfx/load_report.h"
#include "tools/yfx/picture_args.h"
#include "tools/yfx/texture_image.h"

#include "format/reader.h"
#include "render/scene_picture.h"

#include <cstdio>
#include <map>

namespace yfx {

namespace {

void printRenderHelp(std::FILE* out) {
    std::fputs("usage: yfx render FILE.yfx OUT.png [--size WxH] [--frame N]\n"
               "                  [--view front|side|top|three-quarter] [--textures] [--wire]\n"
               "\n"
               "Loads a project file as an import does and writes a picture of it: every\n"
               "mesh drawn with a depth buffer in its materials' diffuse colours, lit from\n"
               "the camera, the orthographic camera fitted to what is drawn. The background\n"
               "is transparent.\n"
               "\n"
               "options:\n"
               "  --size WxH   picture size in pixels (default 1024x1024, each side 1 to 16384)\n"
               "  --frame N    the skin posed by the file's first animation at frame N\n"
               "               (at the animation's rate); without it the rest pose\n"
               "  --view V     front (default), side, top or three-quarter\n"
               "  --textures   the materials' colour maps; a map that cannot be found or\n"
               "               read is named on stderr and its diffuse colour drawn\n"
               "  --wire       polygon edges drawn over the surfaces\n"
               "  --help       show this text\n"
               "\n"
               "exit status: 0 success, 1 the file is rejected or OUT cannot be written,\n"
               "2 usage error\n",
               out);
}

bool parseView(const std::string& text, render::View& view) {
    static const std::map<std::string, render::View> views = {
        {"front", render::View::Front},
        {"side", render::View::Side},
        {"top", render::View::Top},
        {"three-quarter", render::View::ThreeQuarter}};
    const auto found = views.find(text);
    if (found == views.end()) {
        return false;
    }
    view = found->second;
    return true;
}

} // namespace

int runRender(const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    std::map<std::string, std::string> values;
    std::string error;
    render::ScenePictureSettings settings;
    if (takeValueOptions(rest, {"--size", "--frame", "--view"}, values, error)) {
        if (values.count("--size") != 0 &&
            !parsePictureSize(values["--size"], settings.width, settings.height)) {
            error = "--size needs WxH, each side 1 to " + std::to_string(render::kMaxPictureSide) +
                    ", not '" + values["--size"] + "'";
        } else if (values.count("--frame") != 0 &&
                   !parseFiniteNumber(values["--frame"], settings.frame)) {
            error = "--frame needs a finite number, not '" + values["--frame"] + "'";
        } else if (values.count("--view") != 0 && !parseView(values["--view"], settings.view)) {
            error =
                "--view needs front, side, top or three-quarter, not '" + values["--view"] + "'";
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "yfx render: %s (see yfx render --help)\n", error.c_str());
        return kExitUsage;
    }
    settings.posed = values.count("--frame") != 0;
    ParsedArgs parsed;
    const int early = parseCommandArgs(rest, "render", {"--textures", "--wire"}, printRenderHelp, 2,
                                       2, "FILE and OUT.png", parsed);
    if (early >= 0) {
        return early;
    }
    const std::string& path = parsed.positional[0];
    const std::string& target = parsed.positional[1];
    settings.wire = parsed.has("--wire");

    SceneDoc doc;
    std::string reason;
    const int status = loadForCommand(doc, path, reason, inspectionLoad());
    if (status != kLoadOk) {
        std::fprintf(stderr, "yfx render: %s: %s (status %d)\n", path.c_str(), reason.c_str(),
                     status);
        return kExitFailure;
    }
    ColourMaps maps;
    if (parsed.has("--textures")) {
        readColourMaps(doc, path, {}, maps);
        for (const std::string& problem : maps.problems) {
            std::fprintf(stderr, "yfx render: %s: %s; its diffuse colour is drawn\n", path.c_str(),
                         problem.c_str());
        }
        for (std::size_t m = 0; m < doc.materials.size(); ++m) {
            settings.colour_maps.push_back(maps.of(m));
        }
    }
    RgbaImage picture;
    if (!render::drawScenePicture(doc, settings, picture)) {
        std::fprintf(stderr, "yfx render: not enough memory for a %dx%d picture\n", settings.width,
                     settings.height);
        return kExitFailure;
    }
    if (!writePngImage(picture, target, error)) {
        std::fprintf(stderr, "yfx render: %s: %s\n", target.c_str(), error.c_str());
        return kExitFailure;
    }
    std::printf("picture: %s (%dx%d)\n", target.c_str(), picture.width, picture.height);
    return kExitSuccess;
}

} // namespace yfx
