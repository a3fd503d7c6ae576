// Replacing a file in one step: the bytes go to a new temporary file in the
// target's own folder, which is renamed over the target only once it is
// complete. A failure leaves the target as it was and removes the
// temporary file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yfx {

// `path` is a command-line path (UTF-8). False with `error` saying what
// failed: the folder is missing or not writable, the target is a folder, a
// write or the rename failed.
bool replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::string& error);

} // namespace yfx
