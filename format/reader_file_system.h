// The two things the reader asks of the file system: the bytes of a whole
// file, and whether a file exists. Paths are in the host convention
// (backslashes, optional drive) and are turned into native ones here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yfx {

// Reads the whole file. 1 on success; -8 when it cannot be opened; 0 when it
// cannot be read completely, is too large for a 32-bit image or the buffer
// cannot be allocated (`why` says which).
int readWholeFile(const std::wstring& path, std::vector<std::uint8_t>& out, std::string& why);

// True when a regular file exists at the path and can be opened.
bool fileExistsAt(const std::wstring& path);

} // namespace yfx
