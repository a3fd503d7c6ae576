// Inflation whose memory follows the data: bodies that declare gigabytes but
// hold nothing of the kind fail without allocating what they declare, a
// level's header is judged by its first bytes, and the bytes inflated over
// every level of a file count against one budget.
#include <gtest/gtest.h>

#include "reader/bomb_files.h"
#include "reader/largest_allocation.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

// `size` bytes of zeros opening with "YFXH", a version and a size field.
ByteList zerosBehindHeader(std::size_t size, std::uint32_t version, std::uint32_t sizeField) {
    Bytes b;
    b.data.assign(size, 0);
    b.putU32(0, 0x48584659u);
    b.putU32(4, version);
    b.putU32(12, sizeField);
    return b.data;
}

struct Case {
    const char* name;
    ByteList file;
    int status;
    std::size_t largest; // no single allocation may reach this
};

TEST(Inflation, BodiesThatDeclareMoreThanTheyHoldStaySmall) {
    const ByteList nestedBomb = nestedChunkedBomb();
    ASSERT_LT(nestedBomb.size(), 8192u);

    const ByteList packedScene = zlibCompress(sceneFile());
    const std::uint64_t generous = 1032 * (packedScene.size() - 6);
    ASSERT_GT(generous, 4 * 128 * 1024u);

    const Case cases[] = {
        // The bombs: their zeros are no deflate stream, so the level that
        // holds them is a damaged compressed body.
        {"chunked image declaring 4 GB inside a compressed one", nestedBomb, 0, 8 * kMiB},
        {"4 MiB container declaring 4 GB", containerBomb(), 0, kMiB},
        // Deflate streams of 16 MiB, stopped by their first bytes.
        {"container of zeros", sectionedContainer(16 * kMiB, zlibCompress(ByteList(16 * kMiB, 0))),
         -5, kMiB},
        {"image longer than its header says",
         sectionedContainer(16 * kMiB, zlibCompress(zerosBehindHeader(16 * kMiB, 31, 128))), -7,
         kMiB},
        {"chunked image holding another version",
         chunkedHeader(flag::kCompressed, zlibCompress(zerosBehindHeader(16 * kMiB, 31, 16 * kMiB)),
                       16 * kMiB),
         -6, kMiB},
        // An honest stream under a generous declared size grows only to
        // what it holds.
        {"honest stream, generous capacity",
         chunkedHeader(flag::kCompressed, packedScene, std::int64_t(generous)), 1, 128 * 1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        yfx::SceneDoc doc;
        std::string reason;
        resetLargestAllocation();
        const int status = load(doc, c.file, &reason);
        EXPECT_LT(largestAllocation(), c.largest);
        EXPECT_EQ(status, c.status) << reason;
        if (status != 1) {
            EXPECT_TRUE(isEmpty(doc));
            EXPECT_EQ(reason.rfind("compressed body: ", 0), 0u) << reason;
        }
    }
}

int loadWithBudget(yfx::SceneDoc& doc, const ByteList& file, std::uint64_t budget,
                   std::string* reason) {
    yfx::LoadOptions options;
    options.inflate_budget = budget;
    return yfx::loadFromMemory(doc, file.data(), file.size(), L"C:\\proj\\scene.yfx", reason,
                               options);
}

TEST(Inflation, OneBudgetCoversEveryLevel) {
    const ByteList sectioned = craftFile(31);
    const ByteList chunked = sceneFile();
    const ByteList middle = compressedChunked(chunked);
    struct Budgeted {
        const char* name;
        ByteList file;
        std::uint64_t inflates; // over all levels
    } files[] = {
        {"container", craftContainer(sectioned), sectioned.size()},
        {"chunked, compressed twice", compressedChunked(middle), middle.size() + chunked.size()},
    };
    for (const Budgeted& f : files) {
        SCOPED_TRACE(f.name);
        yfx::SceneDoc doc;
        std::string reason;
        EXPECT_EQ(loadWithBudget(doc, f.file, f.inflates, &reason), 1) << reason;
        // One byte less: the last level may inflate all but one of its
        // bytes, whatever the levels before it left over.
        EXPECT_EQ(loadWithBudget(doc, f.file, f.inflates - 1, &reason), 0);
        EXPECT_NE(reason.find("one load may inflate"), std::string::npos) << reason;
        EXPECT_TRUE(isEmpty(doc));
    }

    // A stream that really inflates to what its header says stops at the
    // budget, and so does its buffer.
    const ByteList real =
        sectionedContainer(16 * kMiB, zlibCompress(zerosBehindHeader(16 * kMiB, 31, 16 * kMiB)));
    yfx::SceneDoc doc;
    std::string reason;
    resetLargestAllocation();
    EXPECT_EQ(loadWithBudget(doc, real, kMiB, &reason), 0);
    EXPECT_LE(largestAllocation(), kMiB);
    EXPECT_NE(reason.find("one load may inflate"), std::string::npos) << reason;
}

} // namespace
