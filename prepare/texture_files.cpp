#include "prepare/texture_files.h"

#include <cstdio>
#include <new>
#include <unordered_map>

#include "document/tga_writer.h"
#include "platform/file_copy.h"
#include "platform/name_pair.h"
#include "platform/path.h"
#include "platform/temp_file.h"

namespace yfx {
namespace prepare {

namespace {

constexpr std::int32_t kDefaultPlaceholderSide = 1024;
constexpr std::int32_t kTgaMaxSide = 0xFFFF;

// Writes a black 24-bit TGA of w x h, row by row, so that even the largest
// size costs one encoded row of memory. A file that could not be written
// whole is removed again.
bool writeBlackTga(const std::wstring& path, std::int32_t w, std::int32_t h) {
    std::FILE* file = openHostFile(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = writeSolidTga(file, static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), 0,
                            0, 0) == 1;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        deleteHostFile(path);
    }
    return ok;
}

void placeholders(SceneDoc& doc, const std::wstring& directory) {
    // Surfaces of one opacity size share one file: it is written once, and a
    // failed write is not tried again.
    std::unordered_map<std::wstring, bool> written;
    for (DocSurface& surface : doc.surfaces) {
        if (!surface.colour_path.empty() || surface.opacity_path.empty()) {
            continue;
        }
        std::int32_t w = surface.texture_sizes[kTextureOpacity][0];
        std::int32_t h = surface.texture_sizes[kTextureOpacity][1];
        if (w != 0 && h != 0 && (w < 1 || h < 1)) {
            continue;
        }
        if (w == 0 || h == 0) {
            w = h = kDefaultPlaceholderSide;
        }
        if (w > kTgaMaxSide || h > kTgaMaxSide) {
            continue; // a TGA header cannot hold the size
        }
        const std::wstring path =
            directory + L"black" + std::to_wstring(w) + L"x" + std::to_wstring(h) + L".tga";
        if (path.size() >= kNameCapacity) {
            continue; // a cut path would name another file
        }
        auto found = written.find(path);
        if (found == written.end()) {
            found = written.emplace(path, writeBlackTga(path, w, h)).first;
        }
        if (!found->second) {
            continue;
        }
        surface.colour_path.set(path.c_str());
        surface.texture_sizes[kTextureColour][0] = w;
        surface.texture_sizes[kTextureColour][1] = h;
    }
}

} // namespace

std::wstring targetDirectoryOf(const std::wstring& targetPath) {
    return directoryOf(targetPath);
}

void writePlaceholderTextures(SceneDoc& doc, const std::wstring& targetPath) {
    if (targetPath.empty() || doc.surfaces.empty()) {
        return;
    }
    try {
        const std::wstring directory = targetDirectoryOf(targetPath);
        if (!directory.empty() && !hostDirectoryExists(directory)) {
            return;
        }
        placeholders(doc, directory);
    } catch (const std::bad_alloc&) {
        // Surfaces handled so far keep their placeholders; the rest stay as they were.
    }
}

} // namespace prepare
} // namespace yfx
