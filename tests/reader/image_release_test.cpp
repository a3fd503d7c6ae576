// The load gives the memory of the image it has read back while it fills the
// document. What it builds must not change with that, whatever the step and
// however the image came (inflated, read from a file, lent by the caller):
// bytes given back read as zeros here, so a reader that looked behind its
// cursor would build another document. And the cursor cannot go back there.
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include "bench/synthetic_scene.h"
#include "format/byte_cursor.h"
#include "format/byte_sink.h"
#include "format/container.h"
#include "format/test_scene.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

using ByteList = std::vector<std::uint8_t>;

ByteList write(const yfx::SceneDoc& doc, bool version9) {
    yfx::MemorySink sink;
    int written = 0;
    if (version9) {
        yfx::FileHeaderV2 header;
        written = yfx::writeDocumentV2(doc, allOptions(), sink, header);
    } else {
        yfx::FileHeader header;
        written = yfx::writeDocument(doc, allOptions(), sink, header);
    }
    EXPECT_EQ(written, 1);
    return ByteList(sink.data(), sink.data() + sink.size());
}

yfx::LoadOptions releasingEvery(std::uint32_t step) {
    yfx::LoadOptions options = yfx::inspectionLoad();
    options.image_release_step = step;
    return options;
}

TEST(ImageRelease, TheDocumentIsTheSameWhateverTheStep) {
    yfx::SceneDoc scene;
    yfx_bench::SyntheticSceneSize size;
    size.columns = 200;
    size.rows = 101;
    size.materials = 5;
    size.bones = 20;
    size.groups = 4;
    size.keys = 5;
    yfx_bench::buildSyntheticScene(scene, size);

    std::string dir = ::testing::TempDir() + "image_release_XXXXXX";
    ASSERT_NE(::mkdtemp(&dir[0]), nullptr);

    for (const bool version9 : {false, true}) {
        SCOPED_TRACE(version9 ? "version 9" : "version 31");
        const ByteList plain = write(scene, version9);
        ASSERT_GT(plain.size(), 1000000u); // hundreds of pages
        ByteList packed;
        ASSERT_TRUE(yfx::buildContainer(plain.data(), plain.size(), version9 ? 96 : 128, packed));
        const std::string path = dir + (version9 ? "/scene9.yfx" : "/scene31.yfx");
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(std::fwrite(plain.data(), 1, plain.size(), f), plain.size());
        ASSERT_EQ(std::fclose(f), 0);

        yfx::SceneDoc kept;
        ASSERT_EQ(load(kept, packed, nullptr, L"", releasingEvery(yfx::kNeverReleaseImage)), 1);
        const ByteList expected = write(kept, version9);

        struct Case {
            const char* how;
            std::uint32_t step;
        };
        const Case cases[] = {{"inflated, every record", 1},
                              {"inflated, every page", 4096},
                              {"inflated, default step", yfx::kImageReleaseStep},
                              {"read from a file, every record", 1},
                              {"lent, every record", 1}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.how);
            yfx::SceneDoc doc;
            std::string reason;
            const std::string how = c.how;
            int status = 0;
            if (how.rfind("inflated", 0) == 0) {
                status = load(doc, packed, &reason, L"", releasingEvery(c.step));
            } else if (how.rfind("read", 0) == 0) {
                std::wstring host(path.begin(), path.end());
                status = expectLoadGuarantees(
                    doc, yfx::loadFile(doc, host, &reason, releasingEvery(c.step)));
            } else {
                status = load(doc, plain, &reason, L"", releasingEvery(c.step));
                // Lent bytes are the caller's: none is given back.
                EXPECT_EQ(plain, write(scene, version9));
            }
            ASSERT_EQ(status, 1) << reason;
            EXPECT_TRUE(write(doc, version9) == expected);
        }
        std::remove(path.c_str());
    }
    ::rmdir(dir.c_str());
}

TEST(ImageRelease, TheCursorCannotSeekBehindItsFloor) {
    const std::uint8_t bytes[16] = {};
    yfx::ByteCursor cursor(bytes, sizeof bytes);
    ASSERT_EQ(cursor.seek(10), 1);
    cursor.setFloor(8);
    EXPECT_EQ(cursor.seek(7), 0);
    EXPECT_EQ(cursor.position(), 10u);
    EXPECT_EQ(cursor.seek(8), 1);
    EXPECT_EQ(cursor.seek(16), 1);
    cursor.reset(bytes, sizeof bytes);
    EXPECT_EQ(cursor.floor(), 0u);
    EXPECT_EQ(cursor.seek(0), 1);
}

} // namespace
