#include "fail_allocation.h"

#include <cstdlib>
#include <new>

namespace {
long g_remaining = -1; // allocations still let through; -1 = hook off
bool g_triggered = false;
} // namespace

passtest::FailAllocation::FailAllocation(long skip) {
    g_remaining = skip;
    g_triggered = false;
}
passtest::FailAllocation::~FailAllocation() {
    g_remaining = -1;
}
bool passtest::FailAllocation::triggered() const {
    return g_triggered;
}

void* operator new(std::size_t size) {
    if (g_remaining >= 0 && g_remaining-- == 0) {
        g_triggered = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
