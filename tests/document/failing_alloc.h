// Test hook: this test program replaces the global operator new so that a
// chosen allocation can be made to fail with std::bad_alloc.
#pragma once

namespace yfxtest {

// While alive, the allocation number `skip` (0 = the next one) from now on
// throws std::bad_alloc; every later one succeeds again.
class FailAllocation {
public:
    explicit FailAllocation(long skip);
    ~FailAllocation();
    FailAllocation(const FailAllocation&) = delete;
    FailAllocation& operator=(const FailAllocation&) = delete;

    // True once the chosen allocation has been refused.
    bool triggered() const;
};

} // namespace yfxtest
