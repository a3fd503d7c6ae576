// The colour map files a loaded document's materials name, read for the
// picture commands: looked for where the material says, then beside the
// project file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/scene_doc.h"
#include "util/rgba_image.h"

namespace yfx {

struct ColourMaps {
    // Per material: its colour map, or null when it names none or the file
    // cannot be found or read. Materials naming the same file share one.
    std::vector<std::shared_ptr<const RgbaImage>> images;
    // One line per file that a material names but that cannot be used: the
    // path as the material gives it and why.
    std::vector<std::string> problems;

    const RgbaImage* of(std::size_t material) const {
        return material < images.size() ? images[material].get() : nullptr;
    }
};

// The path of the material's colour map as the document holds it (the
// map's own path, else its first layer's); empty when it has none.
std::wstring colourMapPath(const DocMaterial& material);

// Reads the colour map of every material of `doc` that `wanted` marks (one
// entry per material; empty: every one), loaded from the project file
// `projectPath` (a command-line path). A map's path is tried as it is,
// then relative to the project file's folder, then its bare file name there.
void readColourMaps(const SceneDoc& doc, const std::string& projectPath,
                    const std::vector<std::uint8_t>& wanted, ColourMaps& out);

} // namespace yfx
