// An honest body inflates in one call once its buffer may take the whole
// size; every verdict (result, failure reason, what the watch sees) stays the
// one zlib gives step by step, and the buffer never passes the declared size.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "format/inflate.h"
#include "reader/chunked_builder.h"
#include "reader/largest_allocation.h"

using namespace yfx_test;

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

// Bytes that compress about as a project stream does (a few to one): runs
// of floats that change a little from record to record.
ByteList projectLike(std::size_t size) {
    ByteList out(size);
    std::uint32_t state = 7;
    for (std::size_t i = 0; i < size; i += 4) {
        state = state * 1664525u + 1013904223u;
        const std::uint32_t word = 0x3F800000u + (state >> 22);
        for (std::size_t k = 0; k < 4 && i + k < size; ++k) {
            out[i + k] = std::uint8_t(word >> (8 * k));
        }
    }
    return out;
}

ByteList withBitsFlipped(ByteList bytes, std::size_t at, std::uint8_t bits) {
    if (at < bytes.size()) {
        bytes[at] ^= bits;
    }
    return bytes;
}

TEST(Inflation, OneCallGivesTheVerdictsOfTheSteps) {
    const ByteList data = projectLike(kMiB);
    const ByteList packed = zlibCompress(data);
    ASSERT_LT(data.size(), 16 * packed.size()); // within what the buffer may take at once
    const ByteList small = projectLike(3000);
    const ByteList smallPacked = zlibCompress(small);

    ByteList trailing = packed;
    trailing.insert(trailing.end(), 100, 0x5A);
    const ByteList badChecksum = withBitsFlipped(packed, packed.size() - 1, 1);
    const ByteList flipped = withBitsFlipped(packed, packed.size() / 2, 0x10);
    const ByteList cut(packed.begin(), packed.begin() + packed.size() / 2);
    const ByteList smallCut(smallPacked.begin(), smallPacked.begin() + smallPacked.size() / 2);

    const std::uint32_t n = std::uint32_t(data.size());
    const std::string damaged = "the compressed body is damaged";
    const struct {
        const char* name;
        const ByteList& source;
        std::uint32_t capacity;
        std::uint64_t budget;
        const ByteList* result; // null: fails with `reason`
        std::string reason;
    } cases[] = {
        {"exact size", packed, n, yfx::kInflateBudget, &data, ""},
        {"bytes after the stream", trailing, n, yfx::kInflateBudget, &data, ""},
        {"twice the size declared", packed, 2 * n, yfx::kInflateBudget, &data, ""},
        {"one byte declared too few", packed, n - 1, yfx::kInflateBudget, nullptr,
         "the compressed body inflates beyond its declared size of " + std::to_string(n - 1) +
             " bytes"},
        {"one byte past the budget", packed, n, n - 1, nullptr,
         "the compressed data inflates beyond " + std::to_string(n - 1) +
             " bytes, all that one load may inflate"},
        {"checksum damaged", badChecksum, n, yfx::kInflateBudget, nullptr, damaged},
        {"a byte flipped halfway", flipped, n, yfx::kInflateBudget, nullptr, damaged},
        {"cut halfway", cut, n, yfx::kInflateBudget, nullptr, damaged},
        {"small stream", smallPacked, 3000, yfx::kInflateBudget, &small, ""},
        {"small stream cut", smallCut, 3000, yfx::kInflateBudget, nullptr, damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        yfx::ByteBuffer out;
        std::string why;
        resetLargestAllocation();
        const bool ok =
            yfx::inflateStream(c.source.data(), c.source.size(), c.capacity, c.budget, out, why);
        // Never more room than the declared size (or the budget) allows.
        EXPECT_LE(
            largestAllocation(),
            std::max<std::uint64_t>(64 * 1024, std::min<std::uint64_t>(c.capacity, c.budget)));
        ASSERT_EQ(ok, c.result != nullptr) << why;
        if (ok) {
            EXPECT_TRUE(ByteList(out.data(), out.data() + out.size()) == *c.result);
        } else {
            EXPECT_EQ(why, c.reason);
            EXPECT_EQ(out.size(), 0u);
        }
    }

    // A watch that stops the inflation past a size sees it whichever way
    // the stream inflates, and leaves the reason to its owner.
    for (const ByteList* expected : {&data, &small}) {
        const ByteList& source = expected == &data ? packed : smallPacked;
        const std::size_t stopAt = expected->size() - 10;
        yfx::ByteBuffer out;
        std::string why = "untouched";
        std::size_t largestSeen = 0;
        EXPECT_FALSE(yfx::inflateStream(source.data(), source.size(),
                                        std::uint32_t(2 * expected->size()), yfx::kInflateBudget,
                                        out, why, [&](const std::uint8_t* bytes, std::size_t size) {
                                            EXPECT_EQ(bytes[0], (*expected)[0]);
                                            largestSeen = std::max(largestSeen, size);
                                            return size <= stopAt;
                                        }));
        EXPECT_GT(largestSeen, stopAt);
        EXPECT_EQ(why, "untouched");
    }
}

} // namespace
