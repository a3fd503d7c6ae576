// Compressed chunked images: inflated as often as they are nested, up to a
// fixed depth, with every offset and size of the compressed header checked.
#include <gtest/gtest.h>

#include "reader/chunked_builder.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

ByteList nested(int levels) {
    ByteList image = sceneFile();
    for (int k = 0; k < levels; ++k) {
        image = compressedChunked(image);
    }
    return image;
}

TEST(ChunkedCompression, NestedImagesAreInflatedUpToFourLevels) {
    yfx::SceneDoc plain;
    ASSERT_EQ(load(plain, sceneFile()), 1);
    for (int levels = 1; levels <= 4; ++levels) {
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(load(doc, nested(levels), &reason), 1) << levels << ": " << reason;
        EXPECT_EQ(doc.version, 34);
        EXPECT_EQ(doc.lights.size(), plain.lights.size());
        EXPECT_EQ(doc.vertices.size(), plain.vertices.size());
        EXPECT_EQ(doc.meshes[0].polygons.size(), plain.meshes[0].polygons.size());
    }
    yfx::SceneDoc doc;
    std::string reason;
    EXPECT_EQ(load(doc, nested(5), &reason), 0);
    EXPECT_NE(reason.find("levels deep"), std::string::npos) << reason;
    EXPECT_TRUE(isEmpty(doc));
}

TEST(ChunkedCompression, ACompressedImageMayHoldAnotherVersion) {
    // The sectioned container may wrap a chunked image; a chunked one may
    // not wrap a sectioned image.
    const ByteList inner = sceneFile();
    yfx::SceneDoc doc;
    std::string reason;
    EXPECT_EQ(load(doc, craftContainer(inner), &reason), 1) << reason;
    EXPECT_EQ(doc.lights.size(), 2u);
    EXPECT_EQ(load(doc, compressedChunked(craftFile(31))), -6);
    ByteList wrongMagic = inner;
    wrongMagic[0] = 'X';
    EXPECT_EQ(load(doc, compressedChunked(wrongMagic)), -5);
    // The inflated image's own size field is checked.
    ByteList wrongSize = inner;
    wrongSize[12] ^= 1;
    EXPECT_EQ(load(doc, compressedChunked(wrongSize)), -7);
}

TEST(ChunkedCompression, BadCompressedHeadersAreRefused) {
    const ByteList inner = sceneFile();
    const ByteList packed = zlibCompress(inner);
    const std::int64_t size = std::int64_t(inner.size());
    yfx::SceneDoc doc;
    std::string reason;
    // A body offset beyond the end (the source length must not wrap).
    for (std::uint32_t offset : {std::uint32_t(48 + packed.size() + 1), 0xFFFFFFFFu}) {
        EXPECT_EQ(load(doc, chunkedHeader(flag::kCompressed, packed, size, 34, offset), &reason), 0)
            << offset;
        EXPECT_NE(reason.find("beyond the end"), std::string::npos) << reason;
    }
    // A body offset at the very end: nothing to inflate.
    EXPECT_EQ(load(doc, chunkedHeader(flag::kCompressed, packed, size, 34,
                                      std::uint32_t(48 + packed.size()))),
              0);
    // A declared size no stream of this length can reach, and a size of 0.
    EXPECT_EQ(load(doc, chunkedHeader(flag::kCompressed, packed, 0xFFFFFFF0)), 0);
    EXPECT_EQ(load(doc, chunkedHeader(flag::kCompressed, packed, 0)), 0);
    // A declared size smaller than the inflated image.
    EXPECT_EQ(load(doc, chunkedHeader(flag::kCompressed, packed, size - 1)), 0);
    // A damaged stream.
    ByteList damaged = packed;
    damaged[damaged.size() / 2] ^= 0x55;
    damaged.back() ^= 0x55;
    EXPECT_EQ(load(doc, chunkedHeader(flag::kCompressed, damaged, size)), 0);
}

} // namespace
