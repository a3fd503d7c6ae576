#include <gtest/gtest.h>

#include <cstdio>
#include <zlib.h>

#include "format/container.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "platform/temp_file.h"
#include "test_bytes.h"
#include "test_scene.h"

namespace yfx_test {
namespace {

using namespace yfx;

std::vector<std::uint8_t> readAll(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    std::FILE* f = openHostFile(path, "rb");
    if (f == nullptr) {
        return bytes;
    }
    std::uint8_t block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) {
        bytes.insert(bytes.end(), block, block + n);
    }
    std::fclose(f);
    return bytes;
}

void writeAll(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::FILE* f = openHostFile(path, "wb");
    ASSERT_NE(f, nullptr);
    if (!bytes.empty()) {
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    }
    std::fclose(f);
}

class Container : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(createTempFile(temp_), 1);
        ASSERT_EQ(createTempFile(final_), 1);
        deleteHostFile(final_);
    }
    void TearDown() override {
        deleteHostFile(temp_);
        deleteHostFile(final_);
    }
    // Writes the full scene into the temporary file with the given writer.
    template <typename Header, typename Write> std::vector<std::uint8_t> fill(Write write) {
        std::FILE* f = openHostFile(temp_, "wb");
        EXPECT_NE(f, nullptr);
        EXPECT_EQ(write(f), 1);
        std::fclose(f);
        return readAll(temp_);
    }

    static std::vector<std::uint8_t> inflate(const std::vector<std::uint8_t>& file,
                                             std::size_t from, std::size_t size) {
        std::vector<std::uint8_t> out(size + 1);
        uLongf length = out.size();
        EXPECT_EQ(uncompress(out.data(), &length, file.data() + from, file.size() - from), Z_OK);
        out.resize(length);
        return out;
    }

    std::wstring temp_;
    std::wstring final_;
};

TEST_F(Container, WrapsTheCompressedInnerStreamBehindItsHeader) {
    const SceneDoc doc = makeFullScene();
    FileHeader header;
    const std::vector<std::uint8_t> inner =
        fill<FileHeader>([&](std::FILE* f) { return writeDocument(doc, allOptions(), f, header); });
    ASSERT_GT(inner.size(), 128u);

    EXPECT_EQ(packContainer(header, temp_, final_), 1);
    EXPECT_FALSE(hostFileExists(temp_));
    const std::vector<std::uint8_t> file = readAll(final_);
    ASSERT_GT(file.size(), 128u);
    Cursor c(file);
    EXPECT_EQ(c.u32(), 0x48584659u); // "YFXH"
    EXPECT_EQ(c.u32(), 8u);
    EXPECT_EQ(c.u32(), 18u);
    EXPECT_EQ(c.u32(), inner.size());
    EXPECT_EQ(c.u32(), 2u);   // lights count of the inner table
    EXPECT_EQ(c.u32(), 128u); // where the compressed data starts
    EXPECT_TRUE(std::equal(file.begin() + 16, file.begin() + 128, inner.begin() + 16));
    EXPECT_EQ(inflate(file, 128, inner.size()), inner);
}

TEST_F(Container, Version9UsesThe96ByteHeader) {
    const SceneDoc doc = makeFullScene();
    FileHeaderV2 header;
    const std::vector<std::uint8_t> inner = fill<FileHeaderV2>(
        [&](std::FILE* f) { return writeDocumentV2(doc, allOptions(), f, header); });
    EXPECT_EQ(packContainerV2(header, temp_, final_), 1);
    EXPECT_FALSE(hostFileExists(temp_));
    const std::vector<std::uint8_t> file = readAll(final_);
    Cursor c(file);
    EXPECT_EQ(c.u32(), 0x48584659u);
    EXPECT_EQ(c.u32(), 8u);
    EXPECT_EQ(c.u32(), 18u);
    EXPECT_EQ(c.u32(), inner.size());
    EXPECT_EQ(c.u32(), 0u);
    EXPECT_EQ(c.u32(), 96u);
    EXPECT_TRUE(std::equal(file.begin() + 16, file.begin() + 96, inner.begin() + 16));
    EXPECT_EQ(inflate(file, 96, inner.size()), inner);
}

TEST_F(Container, UnwritableTargetLeavesNoFileBehind) {
    FileHeader header;
    fill<FileHeader>(
        [&](std::FILE* f) { return writeDocument(SceneDoc(), allOptions(), f, header); });
    const std::wstring target = temp_ + L".missing-dir\\out.yfx";
    EXPECT_EQ(packContainer(header, temp_, target), 0);
    EXPECT_FALSE(hostFileExists(temp_));
    EXPECT_FALSE(hostFileExists(target));
}

TEST_F(Container, IncompleteInnerStreamIsNotPacked) {
    FileHeader header;
    std::vector<std::uint8_t> inner = fill<FileHeader>(
        [&](std::FILE* f) { return writeDocument(makeFullScene(), allOptions(), f, header); });
    const std::vector<std::uint8_t> before = {1, 2, 3};
    writeAll(final_, before);

    // The writer stopped part-way: the stream is shorter than its header says.
    inner.resize(inner.size() - 1);
    writeAll(temp_, inner);
    EXPECT_EQ(packContainer(header, temp_, final_), 0);
    EXPECT_FALSE(hostFileExists(temp_));
    EXPECT_EQ(readAll(final_), before); // an existing target is left alone

    // The header never got its final rewrite.
    inner.push_back(0);
    inner[12] ^= 1;
    writeAll(temp_, inner);
    EXPECT_EQ(packContainer(header, temp_, final_), 0);
    EXPECT_EQ(readAll(final_), before);

    // An empty temporary file (no writer ran).
    writeAll(temp_, {});
    EXPECT_EQ(packContainer(FileHeader(), temp_, final_), 0);
    EXPECT_FALSE(hostFileExists(temp_));

    // No temporary file at all.
    EXPECT_EQ(packContainer(header, temp_, final_), 0);
    EXPECT_EQ(readAll(final_), before);
}

TEST(BuildContainer, RefusesStreamsShorterThanTheirHeader) {
    std::vector<std::uint8_t> out;
    const std::vector<std::uint8_t> shortStream(100, 7);
    EXPECT_FALSE(buildContainer(shortStream.data(), shortStream.size(), 128, out));
    EXPECT_TRUE(buildContainer(shortStream.data(), shortStream.size(), 96, out));
    EXPECT_GT(out.size(), 96u);
}

TEST(TempFile, CreatesDistinctEmptyFilesAndDeletesThem) {
    std::wstring a;
    std::wstring b;
    ASSERT_EQ(createTempFile(a), 1);
    ASSERT_EQ(createTempFile(b), 1);
    EXPECT_NE(a, b);
    EXPECT_TRUE(hostFileExists(a));
    EXPECT_TRUE(readAll(a).empty());
    // Host paths use backslashes; they reach the same file.
    std::wstring host = a;
    for (wchar_t& ch : host) {
        if (ch == L'/') {
            ch = L'\\';
        }
    }
    EXPECT_TRUE(hostFileExists(host));
    EXPECT_EQ(deleteHostFile(host), 1);
    EXPECT_FALSE(hostFileExists(a));
    EXPECT_EQ(deleteHostFile(a), 0);
    EXPECT_EQ(deleteHostFile(b), 1);
}

} // namespace
} // namespace yfx_test
