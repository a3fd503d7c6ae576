// Creating a file that must not exist yet. The test for an existing file and
// the creation are one system call (open with O_CREAT | O_EXCL on POSIX,
// _wopen with _O_CREAT | _O_EXCL on Windows), so that a file that appears in
// between is not replaced either; fopen's "x" mode cannot be relied on, as the
// C runtime MinGW programs use ignores it and truncates the file.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace yfx {

// Creates the file at a native path and opens it for writing in binary mode.
// nullptr when anything is there already (a file, a folder, a link, even one
// that points nowhere: errno is then EEXIST) or it cannot be created.
std::FILE* createNewFile(const std::filesystem::path& path);

// The same for a path in the host convention (backslashes, optional drive).
std::FILE* createNewHostFile(const std::wstring& path);

// The file-system path of a host path: the wide text itself on Windows,
// nativePath's UTF-8 with "/" on POSIX.
std::filesystem::path hostFileSystemPath(const std::wstring& hostPath);

} // namespace yfx
