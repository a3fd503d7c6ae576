#include <gtest/gtest.h>

#include <cstdio>
#include <type_traits>

#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "test_bytes.h"
#include "test_scene.h"

namespace yfx_test {
namespace {

using namespace yfx;

// Every budget short of the whole stream plus the header rewrite must fail,
// and the full budget must succeed with the same bytes as an unlimited sink.
template <typename Header, typename Write> void everyCutOffFails(Write write) {
    MemorySink full;
    Header header;
    ASSERT_EQ(write(full, header), 1);
    const std::size_t needed = full.bytes().size();
    const std::size_t headerSize = std::is_same<Header, FileHeader>::value ? 128 : 96;
    for (std::size_t budget = 0; budget < needed + headerSize; ++budget) {
        LimitedSink sink(budget);
        Header h;
        EXPECT_EQ(write(sink, h), 0) << "budget " << budget;
    }
    LimitedSink sink(needed + headerSize);
    Header h;
    EXPECT_EQ(write(sink, h), 1);
    EXPECT_EQ(sink.bytes(), full.bytes());
}

TEST(WriterFailure, Version31ReportsEveryFailedWrite) {
    const SceneDoc doc = makeFullScene();
    everyCutOffFails<FileHeader>([&](ByteSink& sink, FileHeader& header) {
        return writeDocument(doc, allOptions(), sink, header);
    });
}

TEST(WriterFailure, Version9ReportsEveryFailedWrite) {
    const SceneDoc doc = makeFullScene();
    everyCutOffFails<FileHeaderV2>([&](ByteSink& sink, FileHeaderV2& header) {
        return writeDocumentV2(doc, allOptions(), sink, header);
    });
}

TEST(WriterFailure, ReadOnlyStreamFails) {
    // A stream opened for reading refuses every write.
    std::FILE* f = std::fopen("/dev/null", "rb");
    if (f == nullptr) {
        GTEST_SKIP() << "no read-only stream to write to";
    }
    FileHeader header;
    EXPECT_EQ(writeDocument(makeFullScene(), allOptions(), f, header), 0);
    std::fclose(f);
}

} // namespace
} // namespace yfx_test
