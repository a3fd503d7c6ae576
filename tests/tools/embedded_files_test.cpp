// The files a version 34 file embeds: commands that only look at the file
// (info, dump, validate) write nothing beside it; an import places them
// beside the file, a convert beside its output and nowhere else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/chunked_builder.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

const std::vector<std::uint8_t> kSkin = {0x89, 'P', 'N', 'G', 0, 0xFF, 7};

// The small chunked scene with two embedded files, compressed once.
ByteList sceneWithEmbeddedFiles() {
    ChunkWriter w;
    w.begin(tag::kEmbedded).i32(2);
    w.wname(L"D:\\maker\\skin.png");
    w.u32(std::uint32_t(kSkin.size()));
    w.raw(kSkin);
    w.wname(L"bump.jpg");
    w.u32(3);
    w.raw({1, 2, 3});
    std::vector<ByteList> chunks = sceneChunks(kAllVertexFlags);
    chunks.insert(chunks.begin(), w.end().data);
    return compressedChunked(chunkedFile(kAllVertexFlags, chunks));
}

TEST(EmbeddedFiles, LookingIntoAFileWritesNothing) {
    ScratchDir dir;
    const std::string file = dir.file("scene.yfx");
    writeBytes(file, sceneWithEmbeddedFiles());
    const std::vector<std::vector<std::string>> commands = {
        {"info", file},           {"info", "--json", file}, {"dump", file},
        {"dump", "--json", file}, {"validate", file, file},
    };
    for (const std::vector<std::string>& args : commands) {
        SCOPED_TRACE(args[0] + (args[1] == "--json" ? " --json" : ""));
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"scene.yfx"});
    }
}

TEST(EmbeddedFiles, ImportAndConvertPlaceThem) {
    const ByteList bytes = sceneWithEmbeddedFiles();
    const std::vector<std::string> placed = {"bump.jpg", "scene.yfx", "skin.png"};
    {
        ScratchDir dir;
        writeBytes(dir.file("scene.yfx"), bytes);
        const ToolRun run = runTool({"import", dir.file("scene.yfx")});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(dir.entries(), placed);
        EXPECT_EQ(readBytes(dir.file("skin.png")), kSkin);
    }
    ScratchDir in;
    ScratchDir out;
    writeBytes(in.file("scene.yfx"), bytes);
    const ToolRun run = runTool({"convert", in.file("scene.yfx"), out.file("scene.yfx")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(in.entries(), std::vector<std::string>{"scene.yfx"});
    EXPECT_EQ(out.entries(), placed);
    EXPECT_EQ(readBytes(out.file("skin.png")), kSkin);
    EXPECT_EQ(readBytes(out.file("bump.jpg")), (std::vector<std::uint8_t>{1, 2, 3}));
}

} // namespace
} // namespace yfx_test
