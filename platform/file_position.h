// 64-bit positions in C streams. ftell and fseek work with a long, which is
// 32 bits on Windows (and on 32-bit POSIX), so past 2 GiB they fail or wrap.
#pragma once

#include <cstdint>
#include <cstdio>

namespace yfx {

// The stream's position; -1 on failure.
std::int64_t tellFile(std::FILE* stream);

// Moves the stream to `position` relative to `whence` (SEEK_SET, SEEK_CUR,
// SEEK_END). False on failure.
bool seekFile(std::FILE* stream, std::int64_t position, int whence);

// The length of the open file, leaving the stream at its start; -1 when it
// cannot be found.
std::int64_t fileLength(std::FILE* stream);

} // namespace yfx
