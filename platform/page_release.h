// Giving the memory of a large block's read part back to the system while the
// block stays allocated: a load reads its file image front to back once, and
// the pages behind the reader need not stay resident beside the document
// being built from them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yfx {

// The whole pages inside [begin, end) for a page size (a power of two): the
// first page boundary at or after begin and the last at or before end; an
// empty range (first == last) when no whole page lies inside.
struct PageSpan {
    std::uintptr_t first = 0;
    std::uintptr_t last = 0;
};
PageSpan wholePagesWithin(std::uintptr_t begin, std::uintptr_t end, std::uintptr_t pageSize);

// The system's memory page size.
std::size_t systemPageSize();

// Tells the system that the whole pages inside [begin, end) of a block this
// program allocated will not be read again, so their memory can go back now.
// The block stays allocated and writable; what those pages hold afterwards is
// unspecified (zero on Linux). Returns the end of the last page given back,
// or begin when none was. Linux: madvise(MADV_DONTNEED); macOS: MADV_FREE;
// Windows: MEM_RESET, then the pages are taken out of the working set. Where
// none of these is available, nothing is given back.
std::uint8_t* releaseWholePages(std::uint8_t* begin, std::uint8_t* end);

} // namespace yfx
