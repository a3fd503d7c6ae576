#include "tools/yfx/colour_maps.h"

#include <map>

#include "document/doc_material.h"
#include "platform/path.h"
#include "platform/temp_file.h"
#include "platform/utf8.h"
#include "tools/yfx/cli_args.h"
#include "tools/yfx/texture_image.h"

namespace yfx {

namespace {

bool isAbsolute(const std::wstring& path) {
    return (!path.empty() && (path[0] == L'\\' || path[0] == L'/')) ||
           (path.size() > 1 && path[1] == L':');
}

// Where the file of a map path is, or empty when none of the places holds it.
std::wstring findMapFile(const std::wstring& path, const std::wstring& projectFolder) {
    std::vector<std::wstring> candidates = {path};
    if (!isAbsolute(path)) {
        candidates.push_back(projectFolder + path);
    }
    candidates.push_back(projectFolder + fileNameOf(path));
    for (const std::wstring& candidate : candidates) {
        if (hostFileExists(candidate)) {
            return candidate;
        }
    }
    return std::wstring();
}

} // namespace

std::wstring colourMapPath(const DocMaterial& material) {
    for (const std::unique_ptr<DocMap>& map : material.maps) {
        if (map == nullptr || map->channel != kChannelColour) {
            continue;
        }
        if (!map->path.empty()) {
            return map->path.wide;
        }
        for (const DocMapLayer& layer : map->layers) {
            if (!layer.path.empty()) {
                return layer.path.wide;
            }
        }
    }
    return std::wstring();
}

void readColourMaps(const SceneDoc& doc, const std::string& projectPath,
                    const std::vector<std::uint8_t>& wanted, ColourMaps& out) {
    out.images.assign(doc.materials.size(), nullptr);
    out.problems.clear();
    const std::wstring folder = directoryOf(toHostPath(hostPathFromArg(projectPath)));
    // Every distinct path is looked for and read once.
    std::map<std::wstring, std::shared_ptr<const RgbaImage>> read;
    for (std::size_t m = 0; m < doc.materials.size(); ++m) {
        if (!wanted.empty() && (m >= wanted.size() || wanted[m] == 0)) {
            continue;
        }
        const std::wstring path = colourMapPath(doc.materials[m]);
        if (path.empty()) {
            continue;
        }
        const auto known = read.find(path);
        if (known != read.end()) {
            out.images[m] = known->second;
            continue;
        }
        std::shared_ptr<const RgbaImage>& slot = read[path];
        const std::wstring file = findMapFile(path, folder);
        const std::string shown = wideToUtf8(path);
        if (file.empty()) {
            out.problems.push_back("colour map " + shown + " (material " +
                                   wideToUtf8(doc.materials[m].name.wide) + ") not found");
            continue;
        }
        auto image = std::make_shared<RgbaImage>();
        std::string error;
        if (!readTextureImage(nativePath(file), *image, error)) {
            out.problems.push_back("colour map " + shown + " (material " +
                                   wideToUtf8(doc.materials[m].name.wide) +
                                   ") cannot be read: " + error);
            continue;
        }
        slot = std::move(image);
        out.images[m] = slot;
    }
}

} // namespace yfx
