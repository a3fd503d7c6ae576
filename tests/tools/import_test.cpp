// yfx import: the plug-in module's importer run on files the writers make, in
// an empty stand-in scene. The JSON shape and the scene it describes; each
// flag reaching the read step; the reader's reason for a rejected file; usage
// errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "format/test_scene.h"
#include "tool_runner.h"

namespace yfx_test {
namespace {

using Json = nlohmann::ordered_json;

std::vector<std::string> keysOf(const Json& object) {
    std::vector<std::string> keys;
    for (auto it = object.begin(); it != object.end(); ++it) {
        keys.push_back(it.key());
    }
    return keys;
}

// `yfx import --json FILE FLAGS...`, parsed with its keys in order.
Json importJson(const std::string& file, std::vector<std::string> flags = {}) {
    flags.insert(flags.begin(), {"import", "--json", file});
    const ToolRun run = runTool(flags);
    EXPECT_EQ(run.status, 0) << run.err;
    try {
        return Json::parse(run.out);
    } catch (const Json::exception& e) {
        ADD_FAILURE() << "not JSON: " << e.what() << "\n" << run.out.substr(0, 500);
        return Json::object();
    }
}

// The first entry of `list` whose `key` equals `value`, or null.
const Json* findBy(const Json& list, const char* key, const std::string& value) {
    for (const Json& entry : list) {
        if (entry.value(key, std::string()) == value) {
            return &entry;
        }
    }
    return nullptr;
}

// A TGA image of 2 x 2 pixels, uncompressed, 24 bits.
std::vector<std::uint8_t> tinyTga() {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2;
    bytes[12] = 2;
    bytes[14] = 2;
    bytes[16] = 24;
    bytes.resize(18 + 2 * 2 * 3, 0x80);
    return bytes;
}

// The full test scene with its skin's colour map pointing at "skin.tga"
// beside the file (written there too).
std::string writeScene(const ScratchDir& dir, const char* name = "full.yfx") {
    yfx::SceneDoc doc = makeFullScene();
    doc.materials[0].maps[0]->path.setAnsi("skin.tga");
    writeBytes(dir.file("skin.tga"), tinyTga());
    writeBytes(dir.file(name), containerOf(doc));
    return dir.file(name);
}

TEST(Import, PrintsTheBuiltSceneAsOneObjectWithKeysInAFixedOrder) {
    ScratchDir dir;
    const std::string file = writeScene(dir);
    const Json out = importJson(file);
    ASSERT_EQ(keysOf(out),
              (std::vector<std::string>{"file", "options", "nodes", "shapes", "figures", "lights",
                                        "time_line", "animated"}));
    EXPECT_EQ(out["file"], file);
    // The import dialog's starting states.
    EXPECT_EQ(out["options"], Json::parse(R"({"lights": 1, "groups": 0, "materials": 1,
        "uvs": 1, "uvsets": 1, "joints": 0, "animation": 0, "scale": 1.0})"));

    // Joints and animation off: one node, named after the file, with the
    // mesh; the two lights; no figure, no keys but the lights' placement.
    ASSERT_FALSE(out["nodes"].empty());
    EXPECT_EQ(keysOf(out["nodes"][0]),
              (std::vector<std::string>{"index", "class", "name", "label", "parent", "depth"}));
    const Json* mesh = findBy(out["nodes"], "name", "full");
    ASSERT_NE(mesh, nullptr) << out["nodes"].dump();
    EXPECT_EQ((*mesh)["class"], "DzNode");
    EXPECT_TRUE(out["figures"].empty());
    ASSERT_EQ(out["shapes"].size(), 1u);
    const Json& shape = out["shapes"][0];
    EXPECT_EQ(keysOf(shape),
              (std::vector<std::string>{"node", "node_name", "class", "name", "mesh", "vertices",
                                        "facets", "face_groups", "uvs", "uv_sets", "materials"}));
    EXPECT_EQ(shape["node"], (*mesh)["index"]);
    EXPECT_GT(shape["vertices"].get<int>(), 0);
    EXPECT_GT(shape["facets"].get<int>(), 0);
    const Json* skin = findBy(shape["materials"], "name", "Skin");
    ASSERT_NE(skin, nullptr) << shape["materials"].dump();
    EXPECT_EQ(keysOf(*skin),
              (std::vector<std::string>{"class", "name", "colour", "opacity", "facets", "maps"}));
    ASSERT_EQ((*skin)["maps"].size(), 1u) << (*skin)["maps"].dump();
    EXPECT_EQ((*skin)["maps"][0]["channel"], "color");
    EXPECT_EQ((*skin)["maps"][0]["file"], dir.file("skin.tga"));

    ASSERT_EQ(out["lights"].size(), 2u);
    const Json& key = out["lights"][0];
    EXPECT_EQ(keysOf(key),
              (std::vector<std::string>{"node", "node_name", "kind", "intensity", "colour",
                                        "spread_angle", "position", "rotation", "scale"}));
    EXPECT_EQ(key["node_name"], "Key");
    EXPECT_EQ(key["kind"], "spot");
    EXPECT_FLOAT_EQ(key["intensity"].get<float>(), 0.75f);
    EXPECT_FLOAT_EQ(key["position"][1].get<float>(), 5.0f);
    EXPECT_EQ(out["lights"][1]["kind"], "distant");
    EXPECT_TRUE(out["lights"][1]["spread_angle"].is_null());

    EXPECT_EQ(out["time_line"].dump(),
              R"({"time":0,"step":160,"anim_range":[0,4800],"play_range":[0,4800]})");
    for (const Json& animated : out["animated"]) {
        EXPECT_EQ(animated["keys"].size(), 1u) << animated.dump();
    }
}

TEST(Import, JointsAndAnimationBuildTheFigureItsSkinAndItsKeys) {
    ScratchDir dir;
    const Json out = importJson(writeScene(dir), {"--joints", "--animation"});
    ASSERT_EQ(out["figures"].size(), 1u) << out.dump();
    const Json& figure = out["figures"][0];
    EXPECT_EQ(keysOf(figure), (std::vector<std::string>{"node", "node_name", "bones",
                                                        "skin_binding", "selection_map"}));
    EXPECT_EQ(figure["node_name"], "full_Figure0");
    ASSERT_EQ(figure["bones"].size(), 2u);
    const Json& thigh = figure["bones"][1];
    EXPECT_EQ(keysOf(thigh),
              (std::vector<std::string>{"node", "node_name", "parent", "parent_name", "origin",
                                        "end_point", "orientation", "rotation_order"}));
    EXPECT_EQ(figure["bones"][0]["node_name"], "Hip");
    EXPECT_EQ(figure["bones"][0]["parent"], figure["node"]);
    EXPECT_EQ(thigh["node_name"], "Thigh");
    EXPECT_EQ(thigh["parent_name"], "Hip");
    EXPECT_EQ(thigh["rotation_order"], "XYZ");
    // The last bone's end point is its own origin.
    EXPECT_EQ(thigh["end_point"], thigh["origin"]);

    // Vertex i of the scene carries i % 3 weights (0.25, 0.5) on bones 0 and 1.
    const Json& bindings = figure["skin_binding"]["bone_bindings"];
    ASSERT_EQ(bindings.size(), 2u) << figure.dump();
    EXPECT_EQ(bindings[0]["name"], "Hip_bind");
    EXPECT_EQ(bindings[0]["bone_name"], "Hip");
    EXPECT_GT(bindings[0]["weights"].get<int>(), 0);
    EXPECT_GT(bindings[0]["sum"].get<double>(), 0.0);
    EXPECT_EQ(figure["selection_map"]["name"], "MyFigure_selMap");

    // 24 frames per second, start frame 1 and end frame 12: a step of 200
    // ticks and a range of 13 frames; the last key at 1.0 s gives 25 keys,
    // frames 0 to 24.
    EXPECT_EQ(out["time_line"].dump(),
              R"({"time":0,"step":200,"anim_range":[0,2600],"play_range":[0,2600]})");
    const Json* hipKeys = nullptr;
    for (const Json& animated : out["animated"]) {
        if (animated["node_name"] == "Hip" && animated["property"] == "XRotate") {
            hipKeys = &animated;
        }
    }
    ASSERT_NE(hipKeys, nullptr) << out["animated"].dump();
    ASSERT_EQ((*hipKeys)["keys"].size(), 25u);
    EXPECT_EQ((*hipKeys)["keys"][24][0], 24 * 200);
}

// Each flag reaches the read step, as the stored options show, and changes
// what is built.
TEST(Import, FlagsReachTheReadStep) {
    ScratchDir dir;
    const std::string file = writeScene(dir);
    struct Case {
        std::vector<std::string> flags;
        const char* option;
        int value;
    };
    const std::vector<Case> cases = {
        {{"--no-lights"}, "lights", 0},
        {{"--groups"}, "groups", 1},
        {{"--no-materials"}, "materials", 0},
        {{"--no-uvs"}, "uvs", 0},
        {{"--no-uvsets"}, "uvsets", 0},
        {{"--joints"}, "joints", 1},
        {{"--animation", "--joints"}, "animation", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags[0]);
        const Json out = importJson(file, c.flags);
        EXPECT_EQ(out["options"][c.option], c.value);
        const std::string option = c.option;
        if (option == "lights") {
            EXPECT_TRUE(out["lights"].empty());
        } else if (option == "groups") {
            // One node per group; groups keep joints and animation away.
            EXPECT_NE(findBy(out["nodes"], "name", "Body"), nullptr) << out["nodes"].dump();
            EXPECT_NE(findBy(out["nodes"], "name", "Head"), nullptr) << out["nodes"].dump();
            EXPECT_TRUE(out["figures"].empty());
        } else if (option == "materials") {
            for (const Json& shape : out["shapes"]) {
                ASSERT_EQ(shape["materials"].size(), 1u);
                EXPECT_EQ(shape["materials"][0]["name"], "DefaultMat");
            }
        } else if (option == "joints") {
            EXPECT_EQ(out["figures"].size(), 1u);
            EXPECT_EQ(out["time_line"]["step"], 160); // no animation: no time line
        }
    }
    // The animation needs the joints: without them, neither.
    const Json alone = importJson(file, {"--animation"});
    EXPECT_EQ(alone["options"]["animation"], 1);
    EXPECT_TRUE(alone["figures"].empty());
    EXPECT_EQ(alone["time_line"]["step"], 160);

    // The scale factor is stored and scales the scene.
    const Json scaled = importJson(file, {"--scale", "2"});
    EXPECT_FLOAT_EQ(scaled["options"]["scale"].get<float>(), 2.0f);
    ASSERT_FALSE(scaled["lights"].empty());
    EXPECT_FLOAT_EQ(scaled["lights"][0]["position"][1].get<float>(), 10.0f);
}

TEST(Import, TextNamesTheTreeAndEverySection) {
    ScratchDir dir;
    const ToolRun run = runTool({"import", writeScene(dir), "--joints"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line :
         {"\nnodes: ",
          "\n  #0 DzFigure \"full_Figure0\"\n    #1 DzBone \"Hip\"\n      #2 DzBone "
          "\"Thigh\"\n",
          "\nshapes: 1\n", "\nfigures: 1\n", "\nlights: 2\n",
          "\ntime line: ", "\nanimated properties: "}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }
}

// A file the reader refuses: exit 1 with the reader's own reason, the one
// validate gives.
TEST(Import, RejectedFileExitsWithOneAndTheReadersReason) {
    ScratchDir dir;
    std::vector<std::uint8_t> truncated = containerOf(makeFullScene());
    truncated.resize(truncated.size() / 2);
    writeBytes(dir.file("truncated.yfx"), truncated);
    writeBytes(dir.file("text.yfx"), {'h', 'e', 'l', 'l', 'o'});
    for (const char* name : {"truncated.yfx", "text.yfx", "missing.yfx"}) {
        SCOPED_TRACE(name);
        const std::string file = dir.file(name);
        const ToolRun run = runTool({"import", "--json", file});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.empty()) << run.out;
        const ToolRun validate = runTool({"validate", file});
        const std::string marker = ": FAILED (status ";
        const std::size_t at = validate.err.find("): ", validate.err.find(marker));
        ASSERT_NE(at, std::string::npos) << validate.err;
        const std::string reason =
            validate.err.substr(at + 3, validate.err.find('\n', at) - at - 3);
        EXPECT_NE(run.err.find("yfx import: the read step failed (98): " + file + ": " + reason),
                  std::string::npos)
            << run.err << "\nreason: " << reason;
    }
}

TEST(Import, UsageErrorsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"import"},
        {"import", "a.yfx", "b.yfx"},
        {"import", "--xml", "a.yfx"},
        {"import", "--lights", "--no-lights", "a.yfx"},
        {"import", "a.yfx", "--scale"},
        {"import", "a.yfx", "--scale", "big"},
        {"import", "a.yfx", "--scale", "nan"},
        {"import", "a.yfx", "--scale", "1e39"},
        {"import", "a.yfx", "--scale", "2", "--scale", "3"},
    };
    for (const std::vector<std::string>& args : cases) {
        std::string joined;
        for (const std::string& a : args) {
            joined += a + " ";
        }
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2) << joined;
        EXPECT_NE(run.err.find("yfx import: "), std::string::npos) << joined << run.err;
        EXPECT_TRUE(run.out.empty()) << joined;
    }
    const ToolRun help = runTool({"import", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: yfx import FILE", 0), 0u) << help.out;
}

} // namespace
} // namespace yfx_test
