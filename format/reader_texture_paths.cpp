#include "format/reader_texture_paths.h"

#include "format/reader_file_system.h"
#include "format/reader_version_map.h"
#include "platform/path.h"

namespace yfx {

namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isRelative(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') {
        return false;
    }
    return path.empty() || !isSeparator(path[0]);
}

} // namespace

std::wstring projectFolderOf(const std::wstring& projectPath) {
    // Paths in the document follow the host convention: backslashes only.
    std::wstring path = projectPath;
    for (wchar_t& c : path) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return directoryOf(path);
}

std::wstring againstFolder(const std::wstring& folder, const std::wstring& stored) {
    return isRelative(stored) ? folder + stored : stored;
}

void resolveTexturePaths(std::int32_t version, const std::wstring& folder, NamePair* const* paths,
                         std::size_t count) {
    bool keep = keepsFoundTexturePaths(version) && count > 0;
    for (std::size_t i = 0; keep && i < count; ++i) {
        keep = !paths[i]->empty() && fileExistsAt(againstFolder(folder, paths[i]->wide));
    }
    for (std::size_t i = 0; i < count; ++i) {
        NamePair& path = *paths[i];
        if (path.empty()) {
            continue;
        }
        const std::wstring resolved =
            keep ? againstFolder(folder, path.wide) : folder + fileNameOf(std::wstring(path.wide));
        path.setWide(resolved.c_str());
    }
}

} // namespace yfx
