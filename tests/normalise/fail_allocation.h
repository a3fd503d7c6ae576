// Test hook: this program replaces the global operator new so that one chosen
// allocation fails with std::bad_alloc.
#pragma once

namespace passtest {

// While alive, allocation number `skip` from now on (0 = the next) fails.
struct FailAllocation {
    explicit FailAllocation(long skip);
    ~FailAllocation();
    bool triggered() const; // the chosen allocation has been refused
};

} // namespace passtest
