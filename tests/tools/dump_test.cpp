// yfx dump: the JSON holds exactly the documented fields for a file with
// every record kind, with the values the file carries; a rejected file gives
// the status object and exit status 1; the text form shows the bone tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <string>

#include "format/test_scene.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

using nlohmann::json;

std::set<std::string> keysOf(const json& object) {
    std::set<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it) {
        keys.insert(it.key());
    }
    return keys;
}

void expectKeys(const json& object, std::set<std::string> expected, const std::string& what) {
    ASSERT_TRUE(object.is_object()) << what;
    EXPECT_EQ(keysOf(object), expected) << what;
}

void expectNumbers(const json& array, std::size_t n, const std::string& what) {
    ASSERT_TRUE(array.is_array()) << what;
    ASSERT_EQ(array.size(), n) << what;
    for (const json& v : array) {
        EXPECT_TRUE(v.is_number()) << what;
    }
}

class DumpFullScene : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.file("full.yfx");
        writeBytes(path_, containerOf(makeFullScene()));
        doc_ = dumpJson(path_);
        ASSERT_TRUE(doc_.is_object());
    }
    ScratchDir dir_;
    std::string path_;
    json doc_;
};

TEST_F(DumpFullScene, HoldsExactlyTheDocumentedFields) {
    expectKeys(doc_,
               {"status", "version", "info_strings", "lights", "cameras", "materials", "groups",
                "vertices", "face_links", "uvsets", "meshes", "bones", "animations"},
               "top level");
    EXPECT_EQ(doc_["status"], 1);
    EXPECT_EQ(doc_["version"], 31);
    EXPECT_EQ(doc_["info_strings"], 3);
    EXPECT_TRUE(doc_["face_links"].is_number_integer());

    ASSERT_EQ(doc_["lights"].size(), 2u);
    for (const json& l : doc_["lights"]) {
        expectKeys(l,
                   {"name", "kind", "position", "quaternion", "colour", "intensity", "inner_angle",
                    "spread_angle", "range_a", "range_b"},
                   "light");
        expectNumbers(l["position"], 3, "light position");
        expectNumbers(l["quaternion"], 4, "light quaternion");
        expectNumbers(l["colour"], 4, "light colour");
    }
    ASSERT_EQ(doc_["cameras"].size(), 1u);
    expectKeys(doc_["cameras"][0], {"name", "word", "position", "axes", "parameters"}, "camera");
    expectNumbers(doc_["cameras"][0]["axes"], 9, "camera axes");
    expectNumbers(doc_["cameras"][0]["parameters"], 3, "camera parameters");

    ASSERT_EQ(doc_["materials"].size(), 2u);
    for (const json& m : doc_["materials"]) {
        expectKeys(
            m, {"name", "word", "diffuse", "colours", "shininess", "opacity", "face_count", "maps"},
            "material");
        ASSERT_EQ(m["colours"].size(), 4u);
        for (const json& c : m["colours"]) {
            expectNumbers(c, 4, "material colour");
        }
        for (const json& map : m["maps"]) {
            expectKeys(map,
                       {"channel", "type", "flags", "offset", "scale", "rotation", "paths", "tail"},
                       "map");
            expectNumbers(map["offset"], 3, "map offset");
        }
    }
    for (const json& g : doc_["groups"]) {
        expectKeys(g, {"name", "value", "members"}, "group");
    }
    ASSERT_EQ(doc_["vertices"].size(), 5u);
    for (const json& v : doc_["vertices"]) {
        expectKeys(v, {"position", "colour", "weights"}, "vertex");
    }
    for (const json& s : doc_["uvsets"]) {
        expectKeys(s, {"name", "uvs"}, "uv set");
    }
    ASSERT_EQ(doc_["meshes"].size(), 2u);
    for (const json& mesh : doc_["meshes"]) {
        expectKeys(mesh, {"name", "polygons"}, "mesh");
        for (const json& p : mesh["polygons"]) {
            expectKeys(p, {"group", "word2", "material", "value2", "vertices", "uv"}, "polygon");
            ASSERT_EQ(p["uv"].size(), 2u);
            EXPECT_EQ(p["uv"][0].size(), p["vertices"].size());
            EXPECT_EQ(p["uv"][1].size(), p["vertices"].size());
        }
    }
    ASSERT_EQ(doc_["bones"].size(), 2u);
    for (const json& b : doc_["bones"]) {
        expectKeys(b,
                   {"name", "parent", "position", "rotation", "scale", "colour", "weight_refs",
                    "head", "tail"},
                   "bone");
    }
    ASSERT_EQ(doc_["animations"].size(), 1u);
    expectKeys(doc_["animations"][0], {"name", "start", "end", "fps", "tracks"}, "animation");
    for (const json& t : doc_["animations"][0]["tracks"]) {
        expectKeys(t, {"position", "rotation", "scale"}, "track");
    }
}

TEST_F(DumpFullScene, CarriesTheFileValues) {
    const json& key = doc_["lights"][0];
    EXPECT_EQ(key["name"], "Key");
    EXPECT_EQ(key["kind"], 2);
    EXPECT_EQ(key["position"], json::parse("[0, 5, 0]"));
    EXPECT_DOUBLE_EQ(key["intensity"].get<double>(), 0.75);
    EXPECT_EQ(doc_["cameras"][0]["word"], 42);

    // One map of each type with its paths (file names beside the project
    // file) and its tail numbers in file order.
    // Paths are held in the host convention, with backslashes.
    std::string folder = dir_.path() + "/";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    const json& maps = doc_["materials"][0]["maps"];
    ASSERT_EQ(maps.size(), 6u);
    EXPECT_EQ(maps[0]["type"], 1);
    EXPECT_EQ(maps[0]["paths"], json::array({folder + "skin.png"}));
    EXPECT_EQ(maps[0]["tail"], json::parse("[11, 3.5, 4.5]"));
    EXPECT_EQ(maps[0]["flags"], 0x310002);
    EXPECT_EQ(maps[0]["offset"], json::parse("[0.25, 0, 0]"));
    EXPECT_EQ(maps[1]["tail"], json::parse("[12, 3.5, 4.5, 8, 8, 1193046, 2882400001]"));
    EXPECT_EQ(maps[2]["tail"], json::parse("[13, 3.5, 4.5, 77]"));
    ASSERT_EQ(maps[3]["type"], 4);
    ASSERT_EQ(maps[3]["paths"].size(), 5u);
    EXPECT_EQ(maps[3]["paths"][0], folder + "layer0.png");
    EXPECT_EQ(maps[3]["tail"].size(), 15u);
    EXPECT_EQ(maps[3]["tail"][3], 101);
    EXPECT_EQ(maps[3]["tail"][4], 201);
    EXPECT_EQ(maps[3]["tail"][5], 1.5);
    ASSERT_EQ(maps[4]["paths"].size(), 6u);
    EXPECT_EQ(maps[4]["paths"][3], folder + "pz.png");
    EXPECT_EQ(maps[4]["paths"][1], "");
    EXPECT_EQ(maps[4]["tail"], json::array());
    EXPECT_EQ(maps[5]["tail"], json::parse("[16]"));
    const json& cloth = doc_["materials"][1]["maps"];
    ASSERT_EQ(cloth.size(), 2u); // the empty slot is not listed
    EXPECT_EQ(cloth[0]["type"], 7);
    EXPECT_EQ(cloth[1]["type"], 9);
    EXPECT_EQ(cloth[1]["paths"], json::array());

    const json& first = doc_["meshes"][0]["polygons"][0];
    EXPECT_EQ(first["vertices"], json::parse("[0, 1, 2, 3]"));
    EXPECT_EQ(first["value2"], 0xFEED0004u);
    EXPECT_EQ(doc_["bones"][1]["parent"], 0);
    EXPECT_EQ(doc_["bones"][0]["scale"], json::parse("[1, 1, 3]"));
    const json& walk = doc_["animations"][0];
    EXPECT_EQ(walk["name"], "Walk");
    EXPECT_EQ(walk["fps"], 24);
    EXPECT_EQ(walk["tracks"][0]["position"], json::parse("[[0.5, 1, 2, 3]]"));
    EXPECT_EQ(walk["tracks"][1]["scale"], json::parse("[[0.25, 2, 2, 2]]"));
    // The second rotation key was negated by the continuity pass or kept;
    // either way it has time and four components.
    EXPECT_EQ(walk["tracks"][0]["rotation"][1].size(), 5u);
}

TEST_F(DumpFullScene, TextShowsBonesAsATree) {
    const ToolRun run = runTool({"dump", path_});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\n  [0] \"Hip\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n    [1] \"Thigh\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Walk\", frames 1 to 12 at 24 fps, 2 tracks, keys: 1 position, "
                           "2 rotation, 1 scale"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("lights: 2"), std::string::npos);
}

TEST(Dump, RejectedFileGivesItsStatusAndReason) {
    ScratchDir dir;
    std::vector<std::uint8_t> bytes = containerOf(makeFullScene());
    bytes[0] = 'X';
    writeBytes(dir.file("bad.yfx"), bytes);
    ToolRun run = runTool({"dump", "--json", dir.file("bad.yfx")});
    EXPECT_EQ(run.status, 1);
    json parsed = json::parse(run.out);
    EXPECT_EQ(keysOf(parsed), (std::set<std::string>{"status", "error"}));
    EXPECT_EQ(parsed["status"], -5);
    EXPECT_NE(parsed["error"].get<std::string>().find("YFXH"), std::string::npos);
    EXPECT_NE(run.err.find("bad.yfx"), std::string::npos);

    // Cut short: the reason names where the reader stopped.
    bytes = containerOf(makeFullScene());
    bytes.resize(bytes.size() / 2);
    writeBytes(dir.file("short.yfx"), bytes);
    run = runTool({"dump", "--json", dir.file("short.yfx")});
    EXPECT_EQ(run.status, 1);
    parsed = json::parse(run.out);
    EXPECT_EQ(parsed["status"], 0);
    EXPECT_FALSE(parsed["error"].get<std::string>().empty());

    run = runTool({"dump", dir.file("missing.yfx")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("status -8"), std::string::npos) << run.err;
}

TEST(Dump, NamesComeOutAsUtf8AndNonFiniteFloatsAsNull) {
    yfx::SceneDoc doc = makeFullScene();
    doc.lights[0].name.setWide(L"Lampe \u00e4\u20ac\x01");
    doc.lights[0].intensity = std::numeric_limits<float>::infinity();
    doc.lights[1].range_a = std::numeric_limits<float>::quiet_NaN();
    ScratchDir dir;
    writeBytes(dir.file("odd.yfx"), containerOf(doc));
    const ToolRun run = runTool({"dump", "--json", dir.file("odd.yfx")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\\u0001"), std::string::npos);
    const json parsed = json::parse(run.out);
    EXPECT_EQ(parsed["lights"][0]["name"], "Lampe \xC3\xA4\xE2\x82\xAC\x01");
    EXPECT_TRUE(parsed["lights"][0]["intensity"].is_null());
    EXPECT_TRUE(parsed["lights"][1]["range_a"].is_null());
}

} // namespace
} // namespace yfx_test
