// Loading a project file into a scene document: the whole file is read into
// memory, its header checked, a compressed body inflated, every section
// parsed in the layout of its version, and the document normalised by the
// post-parse passes.
//
// Statuses:
//    1  the document holds the scene, normalised
//    0  read error, allocation failure, truncated or inconsistent data, or
//       a file without any records
//   -5  the file does not begin with "YFXH"
//   -6  a version below 6, or above 34
//   -7  the header's size differs from the bytes present (after inflation)
//   -8  the file cannot be opened
// On any status but 1 the document is empty. The reason for a failure (what
// was being read, where, and what was expected) is given next to the status;
// it changes no status.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/scene_doc.h"
#include "format/inflate.h"

namespace yfx {

constexpr std::uint32_t kImageReleaseStep = 1u << 20;
constexpr std::uint32_t kNeverReleaseImage = 0xFFFFFFFFu;

// What a load may do besides filling the document.
struct LoadOptions {
    // Whether the files a version 34 file embeds are written out (never over
    // an existing file). An import places them beside the project file, where
    // its textures are looked for; looking into a file writes nothing.
    bool write_embedded_files = true;
    // The folder they go to, in the host convention; empty for the project
    // file's own folder. A conversion puts them beside the file it writes.
    std::wstring embedded_files_folder;
    // The most the load inflates over all compressed levels of the file.
    std::uint64_t inflate_budget = kInflateBudget;
    // How many bytes of the file image the last pass over it reads between
    // two times it gives the memory of what it has read back to the system
    // (kNeverReleaseImage: never). Only an image the load reads from a file or
    // inflates is given back; bytes passed to loadFromMemory stay the caller's.
    std::uint32_t image_release_step = kImageReleaseStep;
};

// The options of a load that only looks: nothing is written anywhere.
LoadOptions inspectionLoad();

// Loads the file at a host path (backslashes allowed). Texture paths are
// resolved against the file's folder; the process's current directory is not
// changed.
int loadFile(SceneDoc& doc, const std::wstring& path, std::string* reason = nullptr,
             const LoadOptions& options = LoadOptions());

// The same from bytes in memory. `projectPath` stands for the file's path
// when texture paths are resolved (may be empty: textures are then named by
// their bare file names, and embedded files are only written to a folder the
// options name).
int loadFromMemory(SceneDoc& doc, const std::uint8_t* data, std::size_t size,
                   const std::wstring& projectPath = std::wstring(), std::string* reason = nullptr,
                   const LoadOptions& options = LoadOptions());

} // namespace yfx
