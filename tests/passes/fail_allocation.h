// Test hook: this test program replaces the global operator new so that one
// chosen allocation can be made to fail with std::bad_alloc.
#pragma once

namespace passtest {

// While alive, the allocation number `skip` from now on (0 = the next one)
// throws std::bad_alloc; all others succeed.
class FailAllocation {
public:
    explicit FailAllocation(long skip);
    ~FailAllocation();
    FailAllocation(const FailAllocation&) = delete;
    FailAllocation& operator=(const FailAllocation&) = delete;

    bool triggered() const;
};

} // namespace passtest
