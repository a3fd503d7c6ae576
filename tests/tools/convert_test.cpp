// yfx convert: what the target version can hold comes back unchanged (dump of
// the input against dump of the output), for files the writers make and for
// every older version the reader knows; a failed convert leaves nothing
// behind and never touches the input; the time text follows
// SOURCE_DATE_EPOCH.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <map>
#include <string>

#include "format/test_scene.h"
#include "reader/chunked_builder.h"
#include "reader/crafted_file.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

using nlohmann::json;

// Every polygon's UV layer indices replaced by the coordinates they name
// ([0, 0] for none), and the UV sets dropped: the file stores coordinates per
// corner, so this is what a round trip must keep, whatever the numbering.
void resolveUVs(json& doc) {
    const json& sets = doc["uvsets"];
    for (json& mesh : doc["meshes"]) {
        for (json& polygon : mesh["polygons"]) {
            json layers = json::array();
            for (std::size_t k = 0; k < polygon["uv"].size(); ++k) {
                json values = json::array();
                for (const json& index : polygon["uv"][k]) {
                    const long i = index.get<long>();
                    if (k < sets.size() && i >= 0 && std::size_t(i) < sets[k]["uvs"].size()) {
                        values.push_back(sets[k]["uvs"][std::size_t(i)]);
                    } else {
                        values.push_back(json::parse("[0, 0]"));
                    }
                }
                layers.push_back(values);
            }
            polygon["uv"] = layers;
        }
    }
    doc.erase("uvsets");
}

// What a version 31 target keeps of any input: everything but the version,
// the info string count, the legacy face links and the UV numbering.
json keptBy31(json doc) {
    doc.erase("version");
    doc.erase("info_strings");
    doc.erase("face_links");
    resolveUVs(doc);
    return doc;
}

// What a version 9 target keeps: no lights, cameras or map placement, at most
// three layers of a layered map, and polygons held by the group they name
// (a polygon naming no group is kept in "Unassigned").
json keptBy9(json doc) {
    doc = keptBy31(std::move(doc));
    doc.erase("lights");
    doc.erase("cameras");
    for (json& material : doc["materials"]) {
        for (json& map : material["maps"]) {
            map.erase("offset");
            map.erase("scale");
            map.erase("rotation");
            if (map["type"] == 4) {
                while (map["paths"].size() > 3) {
                    map["paths"].erase(map["paths"].size() - 1);
                }
                while (map["tail"].size() > 9) {
                    map["tail"].erase(map["tail"].size() - 1);
                }
            }
        }
    }
    std::vector<std::string> names;
    for (const json& group : doc["groups"]) {
        names.push_back(group["name"]);
    }
    std::map<std::string, json> byGroup;
    for (const json& mesh : doc["meshes"]) {
        for (json polygon : mesh["polygons"]) {
            const long g = polygon["group"].get<long>();
            const std::string name =
                g >= 0 && std::size_t(g) < names.size() ? names[std::size_t(g)] : "Unassigned";
            polygon.erase("group");
            polygon.erase("word2");
            byGroup[name].push_back(polygon);
        }
    }
    doc["polygons_by_group"] = byGroup;
    doc.erase("meshes");
    names.erase(std::remove(names.begin(), names.end(), "Unassigned"), names.end());
    doc["groups"] = names;
    return doc;
}

class Convert : public ::testing::Test {
protected:
    // Converts `input` (written to IN) and returns the dumps of IN and OUT.
    void convert(const std::vector<std::uint8_t>& input, bool version9, json& in, json& out) {
        writeBytes(inPath(), input);
        std::vector<std::string> args = {"convert", inPath(), outPath()};
        if (version9) {
            args.push_back("--v2");
        }
        const ToolRun run = runTool(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(readBytes(inPath()), input) << "the input was changed";
        in = dumpJson(inPath());
        out = dumpJson(outPath());
        EXPECT_EQ(out["version"], version9 ? 9 : 31);
        EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"in.yfx", "out.yfx"}));
    }
    std::string inPath() const { return dir_.file("in.yfx"); }
    std::string outPath() const { return dir_.file("out.yfx"); }
    ScratchDir dir_;
};

TEST_F(Convert, Version31WriterFileComesBackUnchanged) {
    json in, out;
    convert(containerOf(makeFullScene()), false, in, out);
    EXPECT_EQ(in, out);
}

TEST_F(Convert, SampleSceneSurvivesBothTargets) {
    const std::string sample = dir_.file("sample.yfx");
    ASSERT_EQ(runTool({"sample", sample}).status, 0);
    const std::vector<std::uint8_t> bytes = readBytes(sample);
    ::unlink(sample.c_str());
    json in, out;
    convert(bytes, false, in, out);
    EXPECT_EQ(in, out);
    EXPECT_EQ(in["lights"].size(), 2u);
    EXPECT_EQ(in["meshes"][0]["polygons"].size(), 6u);
    convert(bytes, true, in, out);
    EXPECT_EQ(keptBy9(in), keptBy9(out));
}

TEST_F(Convert, Version9KeepsWhatItsLayoutHolds) {
    json in, out;
    convert(containerOf(makeFullScene()), true, in, out);
    EXPECT_EQ(keptBy9(in), keptBy9(out));
    EXPECT_TRUE(out["lights"].empty());
    EXPECT_TRUE(out["cameras"].empty());
    // The full scene has a polygon naming group 5 and one naming none: the
    // layout stores polygons only inside a group, so they move to
    // "Unassigned" instead of being lost.
    std::size_t polygons = 0;
    for (const json& mesh : out["meshes"]) {
        polygons += mesh["polygons"].size();
    }
    EXPECT_EQ(polygons, 6u);
    EXPECT_EQ(out["groups"][0]["name"], "Unassigned");
}

TEST_F(Convert, Version9FileComesBackThroughBothTargets) {
    json in, out;
    convert(containerOf(makeFullScene(), true), false, in, out);
    EXPECT_EQ(in["version"], 9);
    EXPECT_EQ(keptBy31(in), keptBy31(out));
    convert(containerOf(makeFullScene(), true), true, in, out);
    EXPECT_EQ(in, out);
}

TEST_F(Convert, EveryOlderVersionKeepsItsRecords) {
    for (int version : {6, 8, 9, 10, 11, 29, 30, 31, 32, 33}) {
        SCOPED_TRACE("version " + std::to_string(version));
        json in, out;
        convert(craftFile(version), false, in, out);
        ASSERT_EQ(in["version"], version);
        ASSERT_FALSE(in["vertices"].empty());
        ASSERT_FALSE(in["meshes"][0]["polygons"].empty());
        EXPECT_EQ(keptBy31(in), keptBy31(out));

        convert(craftFile(version), true, in, out);
        EXPECT_EQ(keptBy9(in), keptBy9(out));
    }
}

TEST_F(Convert, ChunkedVersion34KeepsItsRecords) {
    for (const bool compressed : {false, true}) {
        SCOPED_TRACE(compressed ? "compressed" : "plain");
        const ByteList file = compressed ? compressedChunked(sceneFile()) : sceneFile();
        json in, out;
        convert(file, false, in, out);
        ASSERT_EQ(in["version"], 34);
        ASSERT_FALSE(in["meshes"].empty());
        EXPECT_EQ(keptBy31(in), keptBy31(out));
    }
}

TEST_F(Convert, CanReplaceItsOwnInput) {
    writeBytes(inPath(), containerOf(makeFullScene()));
    const json before = dumpJson(inPath());
    ASSERT_EQ(runTool({"convert", inPath(), inPath()}).status, 0);
    EXPECT_EQ(dumpJson(inPath()), before);
    EXPECT_EQ(dir_.entries(), std::vector<std::string>{"in.yfx"});
}

TEST_F(Convert, FailureLeavesNothingBehind) {
    const std::vector<std::uint8_t> input = containerOf(makeFullScene());
    writeBytes(inPath(), input);

    // The folder of OUT does not exist.
    ToolRun run = runTool({"convert", inPath(), dir_.file("missing/out.yfx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing/out.yfx"), std::string::npos) << run.err;

    // The folder of OUT is a file.
    run = runTool({"convert", inPath(), dir_.file("in.yfx/out.yfx")});
    EXPECT_EQ(run.status, 1);

    // OUT is a folder.
    ASSERT_EQ(::mkdir(dir_.file("folder.yfx").c_str(), 0700), 0);
    run = runTool({"convert", inPath(), dir_.file("folder.yfx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"folder.yfx", "in.yfx"}));
    EXPECT_EQ(::rmdir(dir_.file("folder.yfx").c_str()), 0) << "the folder was filled";

    // A rejected input leaves an existing OUT as it was.
    const std::vector<std::uint8_t> previous = {'o', 'l', 'd'};
    writeBytes(outPath(), previous);
    writeBytes(dir_.file("bad.yfx"), {'Y', 'F', 'X', 'H', 5, 0, 0, 0});
    run = runTool({"convert", dir_.file("bad.yfx"), outPath()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("status -6"), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(outPath()), previous);

    EXPECT_EQ(readBytes(inPath()), input);
    EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"bad.yfx", "in.yfx", "out.yfx"}));
}

TEST_F(Convert, UnwritableFolderLeavesNothingBehind) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    writeBytes(inPath(), containerOf(makeFullScene()));
    ASSERT_EQ(::mkdir(dir_.file("locked").c_str(), 0500), 0);
    const ToolRun run = runTool({"convert", inPath(), dir_.file("locked/out.yfx")});
    EXPECT_EQ(run.status, 1);
    ::chmod(dir_.file("locked").c_str(), 0700);
    EXPECT_EQ(::rmdir(dir_.file("locked").c_str()), 0) << "something was left in the folder";
}

// The inflated inner stream of a container file.
std::string innerStream(const std::vector<std::uint8_t>& file) {
    const std::uint32_t size = std::uint32_t(file[12]) | std::uint32_t(file[13]) << 8 |
                               std::uint32_t(file[14]) << 16 | std::uint32_t(file[15]) << 24;
    std::string inner(size, '\0');
    uLongf length = size;
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(&inner[0]), &length, file.data() + 128,
                         static_cast<uLong>(file.size() - 128)),
              Z_OK);
    inner.resize(length);
    return inner;
}

TEST_F(Convert, TimeTextFollowsSourceDateEpoch) {
    writeBytes(inPath(), containerOf(makeFullScene()));
    const std::vector<std::string> env = {"SOURCE_DATE_EPOCH=86400"};
    ASSERT_EQ(runTool({"convert", inPath(), dir_.file("a.yfx")}, env).status, 0);
    ASSERT_EQ(runTool({"convert", inPath(), dir_.file("b.yfx")}, env).status, 0);
    const std::vector<std::uint8_t> a = readBytes(dir_.file("a.yfx"));
    EXPECT_EQ(a, readBytes(dir_.file("b.yfx")));
    const std::string inner = innerStream(a);
    EXPECT_NE(inner.find(std::string("Fri Jan  2 00:00:00 1970") + '\0'), std::string::npos);
    EXPECT_NE(inner.find(std::string("Marrowmap Pro Filter for Daz Studio 4.x") + '\0'),
              std::string::npos);
}

} // namespace
} // namespace yfx_test
