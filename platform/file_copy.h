// Folder checks and file copies for the files the export puts beside the
// saved project. Paths are wide text in the host convention, as in
// platform/temp_file.h.
#pragma once

#include <string>

namespace yfx {

// True when the path names an existing directory (a trailing separator is allowed).
bool hostDirectoryExists(const std::wstring& path);

// True when both paths name the same existing file, however they are spelled
// (the same device and file number on POSIX, the same volume and file index
// on Windows).
bool sameHostFile(const std::wstring& first, const std::wstring& second);

enum class CopyResult {
    kCopied,
    kDestinationExists, // something is already at the destination; it was not touched
    kFailed,            // the source cannot be read or the destination cannot be written
};

// Copies the file's bytes to a new file at destination, never replacing one
// that exists (POSIX: the destination is created with O_CREAT | O_EXCL and
// removed again when the copy fails part way; Windows: CopyFileW with
// bFailIfExists).
CopyResult copyHostFileNoOverwrite(const std::wstring& source, const std::wstring& destination);

} // namespace yfx
