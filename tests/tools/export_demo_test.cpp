// yfx export --demo: the plug-in module's exporter run on the built-in demo
// scene, through the host's entry points. The written file loads; what the
// tool lists is exactly what appeared beside the file; each check-box flag
// reaches the stored option; failures and usage errors get their exit status.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "format/load_file.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

struct Listed {
    std::string kind;
    std::string path;
    long long size;
};

// The lines "KIND:   PATH (N bytes)" of the tool's output.
std::vector<Listed> listedFiles(const std::string& out) {
    std::vector<Listed> listed;
    std::istringstream in(out);
    for (std::string text; std::getline(in, text);) {
        const std::size_t colon = text.find(':');
        const std::size_t open = text.rfind(" (");
        const std::string tail = " bytes)";
        if (colon == std::string::npos || open == std::string::npos || open < colon ||
            text.size() < tail.size() ||
            text.compare(text.size() - tail.size(), tail.size(), tail) != 0) {
            continue;
        }
        const std::size_t path = text.find_first_not_of(' ', colon + 1);
        listed.push_back({text.substr(0, colon), text.substr(path, open - path),
                          std::stoll(text.substr(open + 2))});
    }
    return listed;
}

long long fileSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

int load(yfx::SceneDoc& doc, const std::string& path) {
    return yfx::loadFile(doc, std::wstring(path.begin(), path.end()));
}

TEST(ExportDemo, WritesAFileThatLoadsAndListsEverythingItWrote) {
    ScratchDir dir;
    const std::string target = dir.file("demo.yfx");
    const ToolRun run = runTool({"export", "--demo", target});
    ASSERT_EQ(run.status, 0) << run.err;
    // The write step's message and progress reach stderr.
    EXPECT_NE(run.err.find("yfx export: Success: The file was exported successfully."),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(" 100%\n"), std::string::npos) << run.err;

    const std::vector<Listed> listed = listedFiles(run.out);
    std::map<std::string, int> kinds;
    std::vector<std::string> names;
    for (const Listed& f : listed) {
        SCOPED_TRACE(f.path);
        ++kinds[f.kind];
        ASSERT_EQ(f.path.rfind(dir.path() + "/", 0), 0u);
        EXPECT_EQ(f.size, fileSize(f.path));
        names.push_back(f.path.substr(dir.path().size() + 1));
    }
    ASSERT_FALSE(listed.empty()) << run.out;
    EXPECT_EQ(listed[0].kind, "file");
    EXPECT_EQ(listed[0].path, target);
    EXPECT_EQ(kinds["file"], 1);
    EXPECT_EQ(kinds["log"], 1);
    EXPECT_EQ(kinds["other"], 0) << run.out;
    // The copies of the scene's textures and the placeholder of the cut-out
    // surface (its opacity texture's size) are listed, and nothing else appeared.
    for (const char* texture : {"skin_color.tga", "feet_cutout.tga", "black512x256.tga"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), texture), names.end()) << texture;
    }
    names.push_back("demo_textures");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(dir.entries(), names);

    yfx::SceneDoc doc;
    ASSERT_EQ(load(doc, target), 1);
    EXPECT_EQ(doc.version, 31);
    EXPECT_EQ(doc.lights.size(), 3u);
    EXPECT_EQ(doc.materials.size(), 7u); // six body surfaces and the crate's
    EXPECT_EQ(doc.bones.size(), 27u);    // figure, 20 bones, crate, lid, 3 lights, camera
    EXPECT_EQ(doc.groups.size(), 2u);    // the body and the crate; the hidden lid is skipped
    EXPECT_EQ(doc.animations.size(), 1u);
    ASSERT_FALSE(doc.vertices.empty());
    EXPECT_FALSE(doc.vertices[0].weights.empty());
}

struct FlagCase {
    const char* flag;
    std::function<bool(const yfx::SceneDoc&)> stored;
    const char* absentBesideFile; // a file the flag keeps from being written, or null
};

float largestU(const yfx::SceneDoc& doc) {
    float largest = 0.0f;
    for (const yfx::DocUVSet& set : doc.uvsets) {
        for (const yfx::DocUV& uv : set.uvs) {
            largest = std::max(largest, uv.u);
        }
    }
    return largest;
}

// Without a runtime folder in the environment (a service, a build machine)
// as with one, stderr carries only the tool's own lines (and, in a sanitizer
// build, not the leak checker's table of the suppressions it used).
TEST(ExportDemo, StderrHoldsOnlyTheToolsOwnLines) {
    const char* lsan = std::getenv("LSAN_OPTIONS");
    const std::string quietLsan =
        "LSAN_OPTIONS=" + std::string(lsan != nullptr ? lsan : "") + ":print_suppressions=0";
    ScratchDir dir;
    const std::string project = dir.file("demo.yfx");
    const std::vector<std::vector<std::string>> commands = {
        {"export", "--demo", project},
        {"import", project},
        {"convert", project, dir.file("demo.glb")},
    };
    for (const auto& args : commands) {
        const ToolRun run = runTool(args, {"XDG_RUNTIME_DIR=", quietLsan});
        ASSERT_EQ(run.status, 0) << args[0] << ": " << run.err;
        std::istringstream lines(run.err);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_EQ(line.rfind("yfx " + args[0] + ": ", 0), 0u) << line;
        }
    }
}

TEST(ExportDemo, EachCheckBoxFlagReachesTheStoredOption) {
    const std::vector<FlagCase> cases = {
        {"--no-materials", [](const yfx::SceneDoc& d) { return d.materials.empty(); }, nullptr},
        {"--v2", [](const yfx::SceneDoc& d) { return d.version == 9; }, nullptr},
        {"--no-lights", [](const yfx::SceneDoc& d) { return d.lights.empty(); }, nullptr},
        {"--no-animation", [](const yfx::SceneDoc& d) { return d.animations.empty(); }, nullptr},
        {"--hidden-too", [](const yfx::SceneDoc& d) { return d.groups.size() == 3; }, nullptr},
        // The legs' surface stays on UDIM tile 1002 instead of moving onto 1001.
        {"--no-collapse-uvs", [](const yfx::SceneDoc& d) { return largestU(d) > 1.5f; }, nullptr},
        {"--collapse-uvs", [](const yfx::SceneDoc& d) { return largestU(d) <= 1.0f; }, nullptr},
        {"--no-copy-textures", [](const yfx::SceneDoc& d) { return !d.materials.empty(); },
         "skin_color.tga"},
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.flag);
        ScratchDir dir;
        const ToolRun run = runTool({"export", c.flag, "--demo", dir.file("demo.yfx")});
        ASSERT_EQ(run.status, 0) << run.err;
        yfx::SceneDoc doc;
        ASSERT_EQ(load(doc, dir.file("demo.yfx")), 1);
        EXPECT_TRUE(c.stored(doc));
        if (c.absentBesideFile != nullptr) {
            EXPECT_EQ(fileSize(dir.file(c.absentBesideFile)), -1);
            EXPECT_EQ(run.out.find(c.absentBesideFile), std::string::npos) << run.out;
        }
    }
}

TEST(ExportDemo, FailuresExitWithOneAndUsageErrorsWithTwo) {
    ScratchDir dir;
    // No temporary file can be made: the write step fails with 98.
    ToolRun run =
        runTool({"export", "--demo", dir.file("demo.yfx")}, {"TMPDIR=" + dir.file("none")});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("98"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("file:"), std::string::npos) << run.out;

    run = runTool({"export", "--demo", dir.file("missing/demo.yfx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());

    const std::vector<std::vector<std::string>> usage = {
        {"export"},
        {"export", "--demo"},
        {"export", dir.file("u.yfx")},
        {"export", "--demo", dir.file("u.yfx"), dir.file("v.yfx")},
        {"export", "--demo", "--lights", "--no-lights", dir.file("u.yfx")},
        {"export", "--demo", "--v3", dir.file("u.yfx")},
    };
    for (const std::vector<std::string>& args : usage) {
        SCOPED_TRACE(args.size());
        run = runTool(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_EQ(fileSize(dir.file("u.yfx")), -1);

    run = runTool({"export", "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("usage: yfx export", 0), 0u);
}

} // namespace
} // namespace yfx_test
