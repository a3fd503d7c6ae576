// The command line: every command's help, usage errors with exit status 2,
// and validate's report over several files.
#include <gtest/gtest.h>

#include "format/test_scene.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

TEST(CommandLine, EveryCommandHasHelp) {
    const ToolRun top = runTool({"--help"});
    EXPECT_EQ(top.status, 0);
    for (const char* command : {"info", "dump", "validate", "convert", "sample"}) {
        SCOPED_TRACE(command);
        EXPECT_NE(top.out.find(std::string("  ") + command + " "), std::string::npos) << top.out;
        const ToolRun run = runTool({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("usage: yfx ") + command, 0), 0u) << run.out;
    }
    const std::size_t convert = top.out.find("  convert ");
    EXPECT_NE(top.out.substr(convert, top.out.find('\n', convert) - convert).find("model files"),
              std::string::npos)
        << top.out;
}

TEST(CommandLine, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"info"},
        {"info", "a.yfx", "b.yfx"},
        {"info", "--xml", "a.yfx"},
        {"dump"},
        {"dump", "--json", "a.yfx", "b.yfx"},
        {"validate"},
        {"validate", "--json", "a.yfx"},
        {"convert", "a.yfx"},
        {"convert", "a.yfx", "b.yfx", "c.yfx"},
        {"convert", "--v3", "a.yfx", "b.yfx"},
        {"sample"},
        {"frobnicate"},
        {},
    };
    for (const std::vector<std::string>& args : cases) {
        const ToolRun run = runTool(args);
        std::string joined;
        for (const std::string& a : args) {
            joined += a + " ";
        }
        EXPECT_EQ(run.status, 2) << joined;
        EXPECT_FALSE(run.err.empty()) << joined;
        EXPECT_TRUE(run.out.empty()) << joined;
    }
}

TEST(Validate, ReportsEveryFileAndFailsIfAnyFails) {
    ScratchDir dir;
    writeBytes(dir.file("good.yfx"), containerOf(makeFullScene()));
    writeBytes(dir.file("old.yfx"), containerOf(makeFullScene(), true));
    std::vector<std::uint8_t> sized = containerOf(makeFullScene());
    // The container promises one byte less than its body inflates to.
    std::uint32_t inner = std::uint32_t(sized[12]) | std::uint32_t(sized[13]) << 8 |
                          std::uint32_t(sized[14]) << 16 | std::uint32_t(sized[15]) << 24;
    --inner;
    for (int k = 0; k < 4; ++k) {
        sized[12 + std::size_t(k)] = std::uint8_t(inner >> (8 * k));
    }
    writeBytes(dir.file("sized.yfx"), sized);

    ToolRun run = runTool({"validate", dir.file("good.yfx"), dir.file("old.yfx")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("good.yfx: OK (version 31)"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("old.yfx: OK (version 9)"), std::string::npos) << run.out;

    run = runTool({"validate", dir.file("good.yfx"), dir.file("sized.yfx"), dir.file("none.yfx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("good.yfx: OK"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("sized.yfx: FAILED"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("none.yfx: FAILED (status -8)"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("FAILED"), std::string::npos);
}

TEST(Sample, WritesAReadableFileOfEveryKind) {
    ScratchDir dir;
    ASSERT_EQ(runTool({"sample", dir.file("s.yfx")}).status, 0);
    ASSERT_EQ(runTool({"sample", "--v2", dir.file("s9.yfx")}).status, 0);
    const nlohmann::json doc = dumpJson(dir.file("s.yfx"));
    for (const char* kind : {"lights", "cameras", "materials", "groups", "vertices", "meshes",
                             "bones", "animations"}) {
        EXPECT_FALSE(doc[kind].empty()) << kind;
    }
    EXPECT_EQ(dumpJson(dir.file("s9.yfx"))["version"], 9);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"s.yfx", "s9.yfx"}));
}

} // namespace
} // namespace yfx_test
