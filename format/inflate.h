// Inflation of a zlib-compressed file body into a buffer of a declared size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace yfx {

// The largest output a zlib stream of `sourceLength` bytes can produce:
// deflate expands at most about 1032 to 1, and the stream's own header and
// checksum take 6 bytes. A declared size above this cannot be genuine.
std::uint64_t largestInflatedSize(std::uint64_t sourceLength);

// Inflates `source` (a complete zlib stream) into `out`, whose capacity is
// `declaredSize`. Refused before any allocation when the declared size is 0
// or beyond what the source could produce. True on success with `out`
// holding the inflated bytes (possibly fewer than declared); false with `why`
// set otherwise.
bool inflateBody(const std::uint8_t* source, std::size_t sourceLength, std::uint32_t declaredSize,
                 std::vector<std::uint8_t>& out, std::string& why);

} // namespace yfx
