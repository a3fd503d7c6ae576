// The two sinks take the same writes to the same bytes, and the memory
// sink's vector copy follows every later write.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "format/byte_sink.h"
#include "platform/temp_file.h"

namespace yfx_test {
namespace {

using namespace yfx;
using ByteList = std::vector<std::uint8_t>;

// Appends of every size from 1 byte to past a megabyte, so that the memory
// sink's room grows many times over, then overwrites at both ends.
void writeAll(ByteSink& sink, ByteList& expected) {
    ByteList piece;
    for (std::size_t n = 1; n < (std::size_t(3) << 20); n = n * 3 + 1) {
        piece.assign(n, std::uint8_t(n));
        ASSERT_TRUE(sink.append(piece.data(), piece.size()));
        expected.insert(expected.end(), piece.begin(), piece.end());
    }
    const std::uint8_t patch[3] = {9, 8, 7};
    ASSERT_TRUE(sink.overwrite(0, patch, 3));
    ASSERT_TRUE(sink.overwrite(expected.size() - 3, patch, 3));
    std::copy(patch, patch + 3, expected.begin());
    std::copy(patch, patch + 3, expected.end() - 3);
    ASSERT_TRUE(sink.flush());
}

TEST(Sinks, MemoryAndFileHoldTheSameBytes) {
    ByteList expected;
    MemorySink memory;
    writeAll(memory, expected);
    ASSERT_EQ(memory.size(), expected.size());
    EXPECT_TRUE(ByteList(memory.data(), memory.data() + memory.size()) == expected);
    const std::uint8_t patch[3] = {};
    EXPECT_FALSE(memory.overwrite(expected.size() - 2, patch, 3)); // past the end

    std::wstring path;
    ASSERT_EQ(createTempFile(path), 1);
    std::FILE* f = openHostFile(path, "wb");
    ASSERT_NE(f, nullptr);
    FileSink file(f);
    ByteList sameExpected;
    writeAll(file, sameExpected);
    std::fclose(f);
    f = openHostFile(path, "rb");
    ASSERT_NE(f, nullptr);
    ByteList onDisk(expected.size() + 1);
    onDisk.resize(std::fread(onDisk.data(), 1, onDisk.size(), f));
    std::fclose(f);
    deleteHostFile(path);
    EXPECT_TRUE(onDisk == expected);
}

TEST(Sinks, MemoryCopyFollowsLaterWrites) {
    MemorySink sink;
    EXPECT_TRUE(sink.bytes().empty());
    const std::uint8_t a[4] = {1, 2, 3, 4};
    ASSERT_TRUE(sink.append(a, 4));
    EXPECT_EQ(sink.bytes(), ByteList({1, 2, 3, 4}));
    ASSERT_TRUE(sink.append(a, 2));
    EXPECT_EQ(sink.bytes(), ByteList({1, 2, 3, 4, 1, 2}));
    const std::uint8_t b[1] = {9};
    ASSERT_TRUE(sink.overwrite(5, b, 1));
    EXPECT_EQ(sink.bytes(), ByteList({1, 2, 3, 4, 1, 9}));

    EXPECT_EQ(sink.release(), ByteList({1, 2, 3, 4, 1, 9}));
    EXPECT_EQ(sink.size(), 0u);
    EXPECT_TRUE(sink.bytes().empty());

    ASSERT_TRUE(sink.append(a, 3));
    const ByteBuffer taken = sink.releaseBuffer();
    EXPECT_EQ(ByteList(taken.data(), taken.data() + taken.size()), ByteList({1, 2, 3}));
    EXPECT_EQ(sink.size(), 0u);
    EXPECT_TRUE(sink.bytes().empty());
}

} // namespace
} // namespace yfx_test
