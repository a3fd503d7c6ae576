// yfx info: the container and section table as the writers made them, the
// chunks and embedded files of version 34, and every header that does not
// match its file reported with exit status 1.
#include <gtest/gtest.h>

#include <string>

#include "format/byte_sink.h"
#include "format/test_scene.h"
#include "format/writer_v31.h"
#include "reader/chunked_builder.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

using nlohmann::json;

json infoJson(const std::string& path, int expectedStatus) {
    const ToolRun run = runTool({"info", "--json", path});
    EXPECT_EQ(run.status, expectedStatus) << run.err;
    return json::parse(run.out);
}

void putU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) {
        bytes[at + std::size_t(k)] = std::uint8_t(v >> (8 * k));
    }
}

bool mentions(const json& problems, const std::string& text) {
    for (const json& p : problems) {
        if (p.get<std::string>().find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(Info, ContainerAndSectionsMatchWhatTheWriterWrote) {
    ScratchDir dir;
    yfx::MemorySink sink;
    yfx::FileHeader header;
    ASSERT_EQ(yfx::writeDocument(makeFullScene(), allOptions(), sink, header), 1);
    const std::vector<std::uint8_t> file = containerOf(makeFullScene());
    writeBytes(dir.file("full.yfx"), file);

    const json info = infoJson(dir.file("full.yfx"), 0);
    EXPECT_EQ(info["file_size"], file.size());
    ASSERT_EQ(info["containers"].size(), 1u);
    const json& c = info["containers"][0];
    EXPECT_EQ(c["version"], 8);
    EXPECT_EQ(c["flags"], 18);
    EXPECT_EQ(c["inner_size"], sink.bytes().size());
    EXPECT_EQ(c["compressed_size"], file.size() - 128);
    EXPECT_NEAR(c["ratio"].get<double>(), double(sink.bytes().size()) / double(file.size() - 128),
                1e-6);
    EXPECT_EQ(info["version"], 31);
    EXPECT_EQ(info["layout"], "sectioned");
    EXPECT_EQ(info["size"], header.size);
    EXPECT_EQ(info["header_size"], 128);
    ASSERT_EQ(info["sections"].size(), std::size_t(yfx::kSectionCount));
    const char* names[] = {"lights",   "cameras",    "materials",   "groups",
                           "vertices", "face_links", "uvsets",      "meshes",
                           "bones",    "animations", "info_strings"};
    for (int k = 0; k < yfx::kSectionCount; ++k) {
        const json& s = info["sections"][std::size_t(k)];
        EXPECT_EQ(s["name"], names[k]);
        EXPECT_EQ(s["count"], header.sections[k].count) << names[k];
        EXPECT_EQ(s["offset"], header.sections[k].offset) << names[k];
    }
    EXPECT_TRUE(info["problems"].empty()) << info["problems"];
    EXPECT_TRUE(info["chunks"].empty());

    const ToolRun text = runTool({"info", dir.file("full.yfx")});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("container: version 8, flags 0x12"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("offset 128"), std::string::npos) << text.out;
}

TEST(Info, Version9HasItsNineSections) {
    ScratchDir dir;
    writeBytes(dir.file("v9.yfx"), containerOf(makeFullScene(), true));
    const json info = infoJson(dir.file("v9.yfx"), 0);
    EXPECT_EQ(info["version"], 9);
    EXPECT_EQ(info["header_size"], 96);
    ASSERT_EQ(info["sections"].size(), 9u);
    EXPECT_EQ(info["sections"][0]["offset"], 96);
    EXPECT_EQ(info["sections"][5]["name"], "meshes");
    EXPECT_EQ(info["sections"][5]["count"], 2); // one polygon group per group
}

TEST(Info, EverySectionedVersionHasItsOwnHeaderLength) {
    ScratchDir dir;
    for (int version = 6; version <= 33; ++version) {
        SCOPED_TRACE("version " + std::to_string(version));
        writeBytes(dir.file("v.yfx"), craftFile(version));
        const json info = infoJson(dir.file("v.yfx"), 0);
        EXPECT_EQ(info["version"], version);
        EXPECT_EQ(info["header_size"], version >= 30 ? 128 : 96);
        EXPECT_EQ(info["sections"].size(), version >= 30 ? 11u : 9u);
        EXPECT_TRUE(info["problems"].empty()) << info["problems"];
    }
    // Inside a container, too.
    writeBytes(dir.file("c.yfx"), craftContainer(craftFile(11)));
    const json info = infoJson(dir.file("c.yfx"), 0);
    EXPECT_EQ(info["containers"].size(), 1u);
    EXPECT_EQ(info["version"], 11);
}

TEST(Info, ReportsHeadersThatDoNotMatchTheFile) {
    ScratchDir dir;
    yfx::MemorySink sink;
    yfx::FileHeader header;
    ASSERT_EQ(yfx::writeDocument(makeFullScene(), allOptions(), sink, header), 1);
    const std::vector<std::uint8_t> stream = sink.bytes();

    // An uncompressed stream as written is consistent.
    writeBytes(dir.file("plain.yfx"), stream);
    EXPECT_TRUE(infoJson(dir.file("plain.yfx"), 0)["problems"].empty());

    std::vector<std::uint8_t> bad = stream;
    putU32(bad, 12, std::uint32_t(stream.size() + 1));
    writeBytes(dir.file("size.yfx"), bad);
    json info = infoJson(dir.file("size.yfx"), 1);
    EXPECT_TRUE(mentions(info["problems"], "size of " + std::to_string(stream.size() + 1)))
        << info["problems"];

    // The materials entry points at the cameras' count.
    bad = stream;
    putU32(bad, 16 + 8 * yfx::kSectionMaterials + 4, header.sections[yfx::kSectionCameras].offset);
    writeBytes(dir.file("offset.yfx"), bad);
    info = infoJson(dir.file("offset.yfx"), 1);
    EXPECT_TRUE(mentions(info["problems"], "materials section")) << info["problems"];

    // An offset past the end.
    bad = stream;
    putU32(bad, 16 + 8 * yfx::kSectionBones + 4, 0xFFFFFF00u);
    writeBytes(dir.file("far.yfx"), bad);
    info = infoJson(dir.file("far.yfx"), 1);
    EXPECT_TRUE(mentions(info["problems"], "bones section")) << info["problems"];
}

TEST(Info, UnreadableHeadersFail) {
    ScratchDir dir;
    writeBytes(dir.file("short.yfx"), {'Y', 'F', 'X'});
    writeBytes(dir.file("magic.yfx"), std::vector<std::uint8_t>(200, 'A'));
    std::vector<std::uint8_t> damaged = containerOf(makeFullScene());
    for (std::size_t i = 140; i < damaged.size(); ++i) {
        damaged[i] ^= 0x5A;
    }
    writeBytes(dir.file("damaged.yfx"), damaged);
    for (const char* name : {"short.yfx", "magic.yfx", "damaged.yfx", "missing.yfx"}) {
        SCOPED_TRACE(name);
        const json info = infoJson(dir.file(name), 1);
        ASSERT_TRUE(info.contains("error"));
        EXPECT_FALSE(info["error"].get<std::string>().empty());
    }
}

ByteList embeddedChunk() {
    ChunkWriter w;
    w.begin(tag::kEmbedded).i32(2);
    w.wname(L"C:\\tex\\skin.png");
    w.u32(5);
    w.raw({1, 2, 3, 4, 5});
    w.wname(L"bump\u00e4.jpg");
    w.u32(0);
    return w.end().data;
}

TEST(Info, ChunkedFileListsChunksAndEmbeddedFiles) {
    ScratchDir dir;
    std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    chunks.insert(chunks.begin() + 1, embeddedChunk());
    const ByteList plain = chunkedFile(kAllVertexFlags, chunks);
    writeBytes(dir.file("v34.yfx"), compressedChunked(compressedChunked(plain)));

    const json info = infoJson(dir.file("v34.yfx"), 0);
    EXPECT_EQ(info["layout"], "chunked");
    EXPECT_EQ(info["version"], 34);
    EXPECT_EQ(info["header_size"], 48);
    EXPECT_EQ(info["size"], plain.size());
    ASSERT_EQ(info["containers"].size(), 2u);
    EXPECT_EQ(info["containers"][0]["version"], 34);
    const json& list = info["chunks"];
    ASSERT_EQ(list.size(), chunks.size() + 1);
    EXPECT_EQ(list[0]["name"], "directory");
    EXPECT_EQ(list[0]["offset"], 48);
    EXPECT_EQ(list[0]["length"], 72);
    EXPECT_EQ(list[2]["name"], "embedded_files");
    EXPECT_EQ(list[2]["tag"], 0xBBBB0004u);
    // Each chunk starts where the one before it ends.
    for (std::size_t i = 1; i < list.size(); ++i) {
        EXPECT_EQ(list[i]["offset"].get<std::uint64_t>(),
                  list[i - 1]["offset"].get<std::uint64_t>() + 8 +
                      list[i - 1]["length"].get<std::uint64_t>());
    }
    EXPECT_EQ(info["embedded_files"], json::parse(R"([{"name": "C:\\tex\\skin.png", "size": 5},
                              {"name": "bump\u00e4.jpg", "size": 0}])"));
    EXPECT_TRUE(info["problems"].empty()) << info["problems"];

    // Three stray bytes after the last chunk, and a directory that is not first.
    ByteList trailing = plain;
    trailing.insert(trailing.end(), {0, 0, 0});
    putU32(trailing, 12, std::uint32_t(trailing.size()));
    writeBytes(dir.file("trailing.yfx"), trailing);
    EXPECT_TRUE(mentions(infoJson(dir.file("trailing.yfx"), 1)["problems"], "3 bytes"));
    ByteList noDirectory = plain;
    putU32(noDirectory, 48, 0xBBBB0001u);
    writeBytes(dir.file("nodir.yfx"), noDirectory);
    EXPECT_TRUE(mentions(infoJson(dir.file("nodir.yfx"), 1)["problems"], "not the directory"));
}

} // namespace
} // namespace yfx_test
