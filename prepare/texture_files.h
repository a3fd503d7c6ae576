// Image files put beside the saved project file: black TGA placeholders for
// surfaces that have an opacity texture but no colour texture, and copies of
// the materials' bitmap textures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/scene_doc.h"

namespace yfx {
namespace prepare {

// The folder files go into: drive and directory of the target, ending in a
// backslash unless empty.
std::wstring targetDirectoryOf(const std::wstring& targetPath);

// For every document surface with an opacity texture and no colour texture:
// writes a black 24-bit run-length TGA "black<w>x<h>.tga" (the opacity
// texture's size; 1024 x 1024 when a side is 0; nothing when a side is
// negative and neither is 0) into the target's folder and makes it the
// surface's colour texture. The colour path stays empty when the file cannot
// be written: a side above 65535, a joined path of 260 or more characters, a
// failed write. Nothing happens when the target's folder does not exist.
void writePlaceholderTextures(SceneDoc& doc, const std::wstring& targetPath);

// Why a texture was not copied by copyTexturesToTarget.
enum class TextureSkip {
    kAlreadyThere, // a file of that name was in the target folder before the pass
    kNameTaken,    // the pass already copied another file of the same name there
    kPathTooLong,  // the joined destination would have 260 or more characters
    kCopyFailed,   // the source cannot be read or the destination cannot be written
};

struct TextureNotCopied {
    std::wstring source;
    std::wstring destination;
    TextureSkip why = TextureSkip::kCopyFailed;
};

// What the copy pass did, for the export log.
struct TextureCopyReport {
    std::vector<std::wstring> copied; // destinations written by this pass
    std::vector<TextureNotCopied> not_copied;
};

// Copies, for every material and channel 0 to 5, the bitmap file of the
// channel's first map (when that map is of type 1) into the target's folder
// unless a file of that name is already there (never overwriting, never onto
// itself). A source path named by several maps is copied once. Map paths in
// the document are not changed. Returns 0 when the pass could not start (no
// materials, or the target's folder does not exist) or memory ran out, else 1.
// A texture that is already in the target folder (the same file) is neither
// copied nor reported.
int copyTexturesToTarget(const SceneDoc& doc, const std::wstring& targetPath,
                         TextureCopyReport* report = nullptr);

} // namespace prepare
} // namespace yfx
