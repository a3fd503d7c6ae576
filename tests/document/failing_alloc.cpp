#include "failing_alloc.h"

#include <cstdlib>
#include <new>

namespace {

long g_countdown = -1; // allocations to let through before one fails; -1 = off
bool g_triggered = false;

} // namespace

namespace yfxtest {

FailAllocation::FailAllocation(long skip) {
    g_countdown = skip;
    g_triggered = false;
}

FailAllocation::~FailAllocation() {
    g_countdown = -1;
}

bool FailAllocation::triggered() const {
    return g_triggered;
}

} // namespace yfxtest

void* operator new(std::size_t size) {
    if (g_countdown >= 0) {
        if (g_countdown == 0) {
            g_countdown = -1;
            g_triggered = true;
            throw std::bad_alloc();
        }
        --g_countdown;
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
