// Test hook: this test program replaces the global allocation functions, and
// watches the byte buffers' own allocations, to note the largest single
// request, so that a test can prove that a hostile
// count never turns into a giant allocation.
#pragma once

#include <cstddef>

namespace yfx_test {

// Forgets the requests made so far.
void resetLargestAllocation();
// The largest request since the last reset, in bytes.
std::size_t largestAllocation();

} // namespace yfx_test
