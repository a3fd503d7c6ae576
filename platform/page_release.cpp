#include "platform/page_release.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace yfx {

PageSpan wholePagesWithin(std::uintptr_t begin, std::uintptr_t end, std::uintptr_t pageSize) {
    PageSpan span;
    if (end <= begin || pageSize == 0 || begin > UINTPTR_MAX - (pageSize - 1)) {
        return span;
    }
    const std::uintptr_t first = (begin + pageSize - 1) & ~(pageSize - 1);
    const std::uintptr_t last = end & ~(pageSize - 1);
    if (last > first) {
        span.first = first;
        span.last = last;
    }
    return span;
}

std::size_t systemPageSize() {
#if defined(_WIN32)
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
#else
    const long size = sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<std::size_t>(size) : 4096;
#endif
}

std::uint8_t* releaseWholePages(std::uint8_t* begin, std::uint8_t* end) {
    const PageSpan span = wholePagesWithin(reinterpret_cast<std::uintptr_t>(begin),
                                           reinterpret_cast<std::uintptr_t>(end), systemPageSize());
    if (span.last == span.first) {
        return begin;
    }
    void* const first = reinterpret_cast<void*>(span.first);
    const std::size_t length = span.last - span.first;
#if defined(_WIN32)
    // MEM_RESET drops the contents without decommitting; unlocking pages that
    // were never locked takes them out of the working set (it reports failure
    // for that, which is expected).
    if (VirtualAlloc(first, length, MEM_RESET, PAGE_READWRITE) == nullptr) {
        return begin;
    }
    VirtualUnlock(first, length);
#elif defined(__linux__)
    if (madvise(first, length, MADV_DONTNEED) != 0) {
        return begin;
    }
#elif defined(__APPLE__)
    if (madvise(first, length, MADV_FREE) != 0) {
        return begin;
    }
#else
    (void)first;
    (void)length;
    return begin;
#endif
    return begin + (span.last - reinterpret_cast<std::uintptr_t>(begin));
}

} // namespace yfx
