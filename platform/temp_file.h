// Temporary files and the few file operations the export's container step
// needs. Paths are wide text in the host convention (backslashes, optional
// drive); on POSIX they are turned into native UTF-8 paths with "/" here.
#pragma once

#include <cstdio>
#include <string>

namespace yfx {

// The system's temporary directory as a host path ending in a separator
// (TMPDIR or /tmp on POSIX, GetTempPathW on Windows); empty when the system
// gives none. For messages that say where a temporary file was to be made.
std::wstring systemTempDirectory();

// Creates a new, empty file with a unique name (prefix "yfx") in the system's
// temporary directory, safely (mkstemp on POSIX, GetTempFileNameW on Windows),
// and stores its path in `path`. Returns 1 on success, 0 on failure (`path`
// is then empty).
int createTempFile(std::wstring& path);

// Opens a file with a C stream mode ("rb", "wb"); nullptr on failure.
std::FILE* openHostFile(const std::wstring& path, const char* mode);

// Deletes a file. Returns 1 when it was deleted, 0 otherwise.
int deleteHostFile(const std::wstring& path);

// True when something exists at the path.
bool hostFileExists(const std::wstring& path);

#if !defined(_WIN32)
// The POSIX file name of a host path: UTF-8, every "\\" turned into "/".
std::string nativePath(const std::wstring& path);
#endif

} // namespace yfx
