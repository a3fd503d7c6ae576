// The inline-then-heap array under polygon corners and vertex weights.
#include <gtest/gtest.h>

#include <utility>

#include "document/small_vector.h"
#include "failing_alloc.h"

namespace yfx {
namespace {

using Ints = SmallVector<int, 4>;

Ints counting(int n) {
    Ints v;
    for (int i = 0; i < n; ++i) {
        v.push_back(i * 10);
    }
    return v;
}

void expectCounting(const Ints& v, int n) {
    ASSERT_EQ(v.size(), static_cast<Ints::size_type>(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(v[static_cast<Ints::size_type>(i)], i * 10) << i;
    }
}

TEST(SmallVector, StaysInlineUpToItsCapacityThenGrows) {
    Ints v = counting(4);
    EXPECT_TRUE(v.isInline());
    expectCounting(v, 4);
    v.push_back(40);
    EXPECT_FALSE(v.isInline());
    EXPECT_GE(v.capacity(), 8u);
    expectCounting(v, 5);
    for (int i = 5; i < 1000; ++i) {
        v.push_back(i * 10);
    }
    expectCounting(v, 1000);
}

TEST(SmallVector, PushBackOfAnOwnElementSurvivesGrowth) {
    Ints v = counting(4);
    v.push_back(v[1]); // the source moves with the block
    EXPECT_EQ(v[4], 10);
    Ints h = counting(8);
    h.push_back(h[7]);
    EXPECT_EQ(h[8], 70);
}

TEST(SmallVector, CopyAndMoveInBothForms) {
    for (int n : {0, 3, 4, 9}) {
        Ints original = counting(n);
        Ints copy(original);
        expectCounting(copy, n);
        expectCounting(original, n);
        if (n > 0) {
            copy[0] = -1;
            EXPECT_EQ(original[0], 0); // no shared storage
        }

        Ints moved(std::move(original));
        expectCounting(moved, n);
        EXPECT_TRUE(original.empty());
        EXPECT_TRUE(original.isInline());

        Ints assigned = counting(6);
        assigned = moved;
        expectCounting(assigned, n);
        Ints moveAssigned = counting(2);
        moveAssigned = std::move(moved);
        expectCounting(moveAssigned, n);
        EXPECT_TRUE(moved.empty());
        moved.push_back(5); // a moved-from array is usable again
        EXPECT_EQ(moved[0], 5);
    }
}

TEST(SmallVector, AssignTruncateRelease) {
    Ints v;
    v.assign(3, 7);
    EXPECT_TRUE(v.isInline());
    EXPECT_EQ(v[2], 7);
    v.assign(10, 8);
    EXPECT_FALSE(v.isInline());
    EXPECT_EQ(v.size(), 10u);
    EXPECT_EQ(v[9], 8);
    v.truncate(2);
    EXPECT_EQ(v.size(), 2u);
    v.truncate(5);
    EXPECT_EQ(v.size(), 2u);
    v.release();
    EXPECT_TRUE(v.empty());
    EXPECT_TRUE(v.isInline());
    EXPECT_EQ(v.capacity(), 4u);
}

TEST(SmallVector, FailedGrowthKeepsTheContents) {
    Ints v = counting(4);
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_THROW(v.push_back(1), std::bad_alloc);
    }
    expectCounting(v, 4);
    EXPECT_TRUE(v.isInline());

    Ints h = counting(8);
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_THROW(h.push_back(1), std::bad_alloc);
    }
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_THROW(Ints copy(h), std::bad_alloc);
    }
    expectCounting(h, 8);
    {
        Ints target = counting(2);
        yfxtest::FailAllocation fail(0);
        EXPECT_THROW(target = h, std::bad_alloc);
        expectCounting(target, 2);
    }
}

} // namespace
} // namespace yfx
