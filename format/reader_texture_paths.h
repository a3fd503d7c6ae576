// Where a texture named by a material's map is looked for. Files of most
// versions store paths from the machine that wrote them, so the texture is
// taken from beside the project file; versions that keep a path keep it only
// while a file exists there. The process's current directory is never
// changed: a relative stored path is tested (and kept) relative to the
// project folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/name_pair.h"

namespace yfx {

// Drive and directory of the project file's path in the host convention
// (every "/" a backslash), ending in a backslash (empty for an empty path).
std::wstring projectFolderOf(const std::wstring& projectPath);

// A stored path joined to the project folder when it is relative (no drive,
// no leading separator); an absolute one is returned as it stands.
std::wstring againstFolder(const std::wstring& folder, const std::wstring& stored);

// Resolves the paths of one map together: they are kept only when the
// version keeps found paths and every one of them names an existing file;
// otherwise each becomes the project folder followed by its file name and
// extension. An empty path stays empty.
void resolveTexturePaths(std::int32_t version, const std::wstring& folder, NamePair* const* paths,
                         std::size_t count);

} // namespace yfx
