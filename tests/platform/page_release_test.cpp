// Giving whole pages of a block back to the system: which pages, and that
// the block stays usable around and inside them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/page_release.h"

namespace yfx {
namespace {

TEST(PageRelease, OnlyWholePagesInsideTheRange) {
    struct Case {
        std::uintptr_t begin, end, first, last;
    };
    const std::uintptr_t P = 4096;
    const std::uintptr_t top = ~std::uintptr_t(0);
    const Case cases[] = {
        {0, 3 * P, 0, 3 * P},                             // aligned both ends
        {1, 3 * P, P, 3 * P},                             // the first partial page stays
        {P, 3 * P - 1, P, 2 * P},                         // the last partial page stays
        {P + 1, 3 * P - 1, 2 * P, 2 * P},                 // no whole page: empty
        {P + 1, 2 * P + 1, 0, 0},                         // one page's length, no whole page
        {5 * P, 5 * P, 0, 0},                             // empty range
        {5 * P, 2 * P, 0, 0},                             // inverted range
        {top - 5, top, 0, 0},                             // rounding up would wrap
        {top - 2 * P + 2, top, top - P + 1, top - P + 1}, // empty at the top
    };
    for (const Case& c : cases) {
        const PageSpan span = wholePagesWithin(c.begin, c.end, P);
        const std::uintptr_t length = span.last - span.first;
        EXPECT_EQ(length, c.last - c.first) << c.begin << ".." << c.end;
        if (c.last > c.first) {
            EXPECT_EQ(span.first, c.first) << c.begin << ".." << c.end;
            EXPECT_EQ(span.last, c.last) << c.begin << ".." << c.end;
        }
    }
}

TEST(PageRelease, BlockStaysUsableAndItsEdgesKeepTheirBytes) {
    const std::size_t page = systemPageSize();
    ASSERT_GT(page, 0u);
    ASSERT_EQ(page & (page - 1), 0u);
    const std::size_t size = 40 * page;
    auto* block = static_cast<std::uint8_t*>(std::malloc(size));
    ASSERT_NE(block, nullptr);
    std::memset(block, 0xAB, size);

    // From a byte inside the third page to a byte inside the thirtieth.
    std::uint8_t* begin = block + 2 * page + 100;
    std::uint8_t* end = block + 29 * page + 7;
    std::uint8_t* released = releaseWholePages(begin, end);
    const PageSpan span = wholePagesWithin(reinterpret_cast<std::uintptr_t>(begin),
                                           reinterpret_cast<std::uintptr_t>(end), page);
    const std::size_t from = span.first - reinterpret_cast<std::uintptr_t>(block);
    const std::size_t to = span.last - reinterpret_cast<std::uintptr_t>(block);
    ASSERT_LT(from, to);
#if defined(__linux__)
    EXPECT_EQ(released, block + to);
    // The pages given back read as zeros: the memory really went.
    for (std::size_t i = from; i < to; ++i) {
        ASSERT_EQ(block[i], 0) << i;
    }
#else
    EXPECT_TRUE(released == begin || released == block + to);
#endif
    for (std::size_t i = 0; i < from; ++i) {
        ASSERT_EQ(block[i], 0xAB) << i;
    }
    for (std::size_t i = to; i < size; ++i) {
        ASSERT_EQ(block[i], 0xAB) << i;
    }
    // Still the program's memory: written and read again, then freed.
    std::memset(block, 0x5C, size);
    EXPECT_EQ(block[from + page / 2], 0x5C);
    EXPECT_EQ(releaseWholePages(end, begin), end);
    std::free(block);
}

} // namespace
} // namespace yfx
