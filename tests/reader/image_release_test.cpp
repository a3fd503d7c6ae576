// The load gives the memory of the image it has read back while it fills the
// document. What it builds must not change with that, whatever the step and
// however the image came (inflated, read from a file, lent by the caller):
// bytes given back read as zeros here, so a reader that looked behind its
// cursor would build another document. And the cursor cannot go back there.
#include <gtest/gtest.h>

#include <cstdio>

#include "bench/synthetic_scene.h"
#include "format/byte_cursor.h"
#include "format/container.h"
#include "format/test_scene.h"
#include "reader/chunked_builder.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

ByteList write(const yfx::SceneDoc& doc, bool version9) {
    ByteList stream = writtenStream(doc, version9);
    EXPECT_FALSE(stream.empty());
    return stream;
}

yfx::LoadOptions releasingEvery(std::uint32_t step) {
    yfx::LoadOptions options = yfx::inspectionLoad();
    options.image_release_step = step;
    return options;
}

// One layout's image as a plain stream and packed, and how its loads are
// compared (their documents rewritten in that writer's layout).
struct Layout {
    const char* name;
    ByteList plain;
    ByteList packed;
    bool rewrite_as_9;
};

// Loads of the layout's image giving memory back at every record, every page
// and the default step, inflated, read from a file and lent, against a load
// that gives nothing back.
void expectTheSameDocumentWhateverTheStep(const Layout& layout, const std::string& dir) {
    SCOPED_TRACE(layout.name);
    ASSERT_GT(layout.plain.size(), 1000000u); // hundreds of pages
    const std::string path = dir + "scene.yfx";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(layout.plain.data(), 1, layout.plain.size(), f), layout.plain.size());
    ASSERT_EQ(std::fclose(f), 0);

    yfx::SceneDoc kept;
    ASSERT_EQ(load(kept, layout.packed, nullptr, L"", releasingEvery(yfx::kNeverReleaseImage)), 1);
    const ByteList expected = write(kept, layout.rewrite_as_9);

    enum Source { Inflated, FromFile, Lent };
    struct Case {
        const char* how;
        Source source;
        std::uint32_t step;
    };
    const Case cases[] = {{"inflated, every record", Inflated, 1},
                          {"inflated, every page", Inflated, 4096},
                          {"inflated, default step", Inflated, yfx::kImageReleaseStep},
                          {"read from a file, every record", FromFile, 1},
                          {"lent, every record", Lent, 1}};
    const ByteList lentCopy = layout.plain;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        yfx::SceneDoc doc;
        std::string reason;
        int status = 0;
        if (c.source == Inflated) {
            status = load(doc, layout.packed, &reason, L"", releasingEvery(c.step));
        } else if (c.source == FromFile) {
            const std::wstring host(path.begin(), path.end());
            status = expectLoadGuarantees(
                doc, yfx::loadFile(doc, host, &reason, releasingEvery(c.step)));
        } else {
            status = load(doc, layout.plain, &reason, L"", releasingEvery(c.step));
            // Lent bytes are the caller's: none is given back.
            EXPECT_TRUE(layout.plain == lentCopy);
        }
        ASSERT_EQ(status, 1) << reason;
        EXPECT_TRUE(write(doc, layout.rewrite_as_9) == expected);
    }
    std::remove(path.c_str());
}

ByteList packedSectioned(const ByteList& plain, bool version9) {
    ByteList packed;
    EXPECT_TRUE(yfx::buildContainer(plain.data(), plain.size(), version9 ? 96 : 128, packed));
    return packed;
}

// The small chunked scene with its mesh replaced by three large ones.
ByteList largeChunkedImage() {
    std::vector<MeshSpec> meshes(3);
    for (std::size_t m = 0; m < meshes.size(); ++m) {
        MeshSpec& mesh = meshes[m];
        mesh.base = float(m * 100000);
        mesh.vertices = 20000;
        mesh.links = 2;
        mesh.triangles.clear();
        for (std::int32_t v = 0; v + 2 < mesh.vertices; ++v) {
            mesh.triangles.push_back({v, v + 1, v + 2});
        }
    }
    std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    for (ByteList& chunk : chunks) {
        if (chunk.size() >= 4 && chunk[0] == (tag::kMeshes & 0xFF)) {
            chunk = meshContainer(kAllVertexFlags, meshes);
        }
    }
    return chunkedFile(kAllVertexFlags, chunks);
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

    ScratchFolder scratch("image_release_");
    ASSERT_TRUE(scratch.ready());
    const std::string dir = scratch.path() + "/";
    const ByteList v31 = write(scene, false);
    const ByteList v9 = write(scene, true);
    const ByteList chunked = largeChunkedImage();
    const Layout layouts[] = {
        {"version 31", v31, packedSectioned(v31, false), false},
        {"version 9", v9, packedSectioned(v9, true), true},
        {"version 34 (chunked)", chunked, compressedChunked(chunked), false},
    };
    for (const Layout& layout : layouts) {
        expectTheSameDocumentWhateverTheStep(layout, dir);
    }
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
