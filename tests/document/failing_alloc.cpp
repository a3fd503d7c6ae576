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

// Every form of the global allocation functions is replaced, so that the
// sanitizers see matching pairs.
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

void* operator new[](std::size_t size) {
    return ::operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return ::operator new(size, std::nothrow);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
