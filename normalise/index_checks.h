// Index checks shared by the passes: every index read from a file is tested
// against the array it names before it is used.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yfx {
namespace normalise {

// True when index names an element of an array of count elements.
inline bool indexIn(std::int32_t index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

} // namespace normalise
} // namespace yfx
