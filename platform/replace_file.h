// Replacing a file in one step: the new content goes to a new file in the
// target's own folder, which is renamed over the target only once it is
// complete. A failure leaves the target as it was and removes the new file.
// Error texts are UTF-8 and name the path that failed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yfx {

// True when the host path names an existing folder.
bool hostIsFolder(const std::wstring& path);

// Creates a new, empty file beside `target` (a host path), in the same folder
// and named after it (".<name>.tmp-<12 hex digits>"), that did not exist
// before; stores its host path in `created`. False with `error` saying what
// failed: the folder is missing or not writable, or no free name was found.
bool createFileBeside(const std::wstring& target, std::wstring& created, std::string& error);

// Renames the file `source` over `target` (host paths), replacing a file
// there in one step. False with `error` set; both files are then as they were.
bool renameOver(const std::wstring& source, const std::wstring& target, std::string& error);

// Puts `bytes` in place of the file at `path`, a command-line path (UTF-8),
// through a new file beside it. False with `error` saying what failed: the
// path names no file or a folder, the folder is missing or not writable, a
// write or the rename failed.
bool replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::string& error);

} // namespace yfx
