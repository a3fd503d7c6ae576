// Host-convention paths: "\" and "/" both separate, an optional drive letter
// ("C:") leads. These helpers work on text only and never touch the file system.
#pragma once

#include <cstddef>
#include <string>

namespace yfx {

// The pieces of a path as the C runtime's path splitter gives them: drive
// ("C:" or empty), directory (up to and including the last separator), name
// (up to the last dot of the final component) and extension (from that dot).
struct WidePathParts {
    std::wstring drive;
    std::wstring dir;
    std::wstring name;
    std::wstring ext;
};
struct AnsiPathParts {
    std::string drive;
    std::string dir;
    std::string name;
    std::string ext;
};

WidePathParts splitPath(const std::wstring& path);
AnsiPathParts splitPath(const std::string& path);

// Drive and directory of the path, ending in a backslash unless empty.
std::wstring directoryOf(const std::wstring& path);
// File name without its extension.
std::wstring fileTitleOf(const std::wstring& path);
// File name with its extension (drive and directories removed).
std::wstring fileNameOf(const std::wstring& path);
std::string fileNameOf(const std::string& path);

// A host path as the plug-in keeps it: every "/" becomes "\", cut to 259 characters.
std::wstring toHostPath(const std::wstring& path);

// ASCII case-insensitive comparison of wide texts: <0, 0 or >0 as the C
// runtime's case-insensitive comparison in the "C" locale. Null counts as empty.
int compareNoCase(const wchar_t* a, const wchar_t* b);

} // namespace yfx
