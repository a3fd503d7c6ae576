// The checker of what a successful load guarantees: it accepts loaded
// documents, including ones whose file carries non-finite and degenerate
// values, and names the first broken guarantee and where for documents that
// break exactly one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>

#include "format/loaded_document_check.h"
#include "reader/chunked_builder.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// The chunked scene: two lights, a material with one map, groups Body and
// Head, one mesh of triangles (0, 1, 2) and (0, 2, 3) over four vertices
// weighted to bone 0, bones Hip and Leg (child of Hip), an animation of two
// tracks.
void loadScene(yfx::SceneDoc& doc) {
    std::string reason;
    ASSERT_EQ(load(doc, sceneFile(), &reason, L""), 1) << reason;
}

struct Broken {
    const char* what;
    const char* message; // the start of the checker's message
    std::function<void(yfx::SceneDoc&)> breakIt;
};

void fillName(wchar_t* text) {
    for (std::size_t k = 0; k < yfx::kNameCapacity; ++k) {
        text[k] = L'x';
    }
}

yfx::DocCorner cornerAt(std::int32_t vertex) {
    yfx::DocCorner c;
    c.vertex = vertex;
    return c;
}

TEST(LoadedDocumentCheck, NamesTheFirstBrokenGuaranteeAndWhere) {
    using yfx::SceneDoc;
    const Broken cases[] = {
        {"unreadable version", "version: 35", [](SceneDoc& d) { d.version = 35; }},
        {"work records", "work records:", [](SceneDoc& d) { d.surfaces.resize(1); }},
        {"exporter-side mesh list", "mesh fields: mesh 0",
         [](SceneDoc& d) { d.meshes[0].colours.resize(1); }},
        {"bone naming a mesh", "bone fields: bone 1", [](SceneDoc& d) { d.bones[1].mesh = 0; }},
        {"unterminated 8-bit name", "names: light 1",
         [](SceneDoc& d) { std::fill_n(d.lights[1].name.ansi, yfx::kNameCapacity, 'x'); }},
        {"unterminated map path", "names: material 0, map 0",
         [](SceneDoc& d) { fillName(d.materials[0].maps[0]->path.wide); }},
        {"unterminated mesh name", "names: mesh 0",
         [](SceneDoc& d) { fillName(d.meshes[0].name.text); }},
        {"no group", "defaults: the document has no group", [](SceneDoc& d) { d.groups.clear(); }},
        {"no uv set", "defaults: the document has no uv set",
         [](SceneDoc& d) { d.uvsets.clear(); }},
        {"five corners", "polygon corners: mesh 0, polygon 1: 5 corners",
         [](SceneDoc& d) {
             d.meshes[0].polygons[1].corners.push_back(cornerAt(1));
             d.meshes[0].polygons[1].corners.push_back(cornerAt(1));
         }},
        {"two corners", "polygon corners: mesh 0, polygon 0: 2 corners",
         [](SceneDoc& d) { d.meshes[0].polygons[0].corners.truncate(2); }},
        {"vertex past the pool", "corner vertex: mesh 0, polygon 1, corner 2: vertex 4 outside",
         [](SceneDoc& d) { d.meshes[0].polygons[1].corners[2].vertex = 4; }},
        {"negative vertex", "corner vertex: mesh 0, polygon 0, corner 0: vertex -1",
         [](SceneDoc& d) { d.meshes[0].polygons[0].corners[0].vertex = -1; }},
        {"repeated corner in the only mesh", "repeated corner: mesh 0, polygon 1: corners 0 and 2",
         [](SceneDoc& d) { d.meshes[0].polygons[1].corners[2].vertex = 0; }},
        {"polygon mark", "scratch marks: mesh 0, polygon 0",
         [](SceneDoc& d) { d.meshes[0].polygons[0].polygon_word |= 1; }},
        {"vertex mark", "scratch marks: vertex 3",
         [](SceneDoc& d) { d.vertices[3].vertex_word |= 4; }},
        {"group value", "use counts: group 1: group value 1, 0 polygons",
         [](SceneDoc& d) { d.groups[1].group_value = 1; }},
        {"face count", "use counts: material 0: face count 3, 2 polygons",
         [](SceneDoc& d) { d.materials[0].face_count = 3; }},
        {"weight references", "use counts: bone 1: weight references 1, 0 weights",
         [](SceneDoc& d) { d.bones[1].weight_references = 1; }},
        {"members missing", "group members: group 0: 0 members, mesh 0 names 1 materials",
         [](SceneDoc& d) { d.groups[0].members.clear(); }},
        {"member count", "group members: group 0, member 0: material 0 with 1 polygons",
         [](SceneDoc& d) { d.groups[0].members[0].polygon_count = 1; }},
        {"members without a mesh", "group members: group 1: 1 members, no mesh has its index",
         [](SceneDoc& d) {
             d.groups[1].members.push_back({0, 2});
         }},
        {"weight of no bone", "weights: vertex 2, entry 1: bone -1 weighs 0.5",
         [](SceneDoc& d) {
             d.vertices[2].weights.push_back({-1, 0.5f, 1});
         }},
        {"weights off one", "weights: vertex 3: the weights sum to 0.75",
         [](SceneDoc& d) { d.vertices[3].weights[0].weight = 0.75f; }},
        {"local matrix", "bone transforms: bone 0: local matrix element 3",
         [](SceneDoc& d) { d.bones[0].position[0] = 5; }},
        {"world matrix", "bone transforms: bone 1: world matrix element 7",
         [](SceneDoc& d) { d.bones[1].world_matrix[7] += 1; }},
        {"inverse matrix", "bone transforms: bone 1: inverse world matrix element 0",
         [](SceneDoc& d) { d.bones[1].inverse_world_matrix[0] = 2; }},
        {"head", "bone transforms: bone 0: the head", [](SceneDoc& d) { d.bones[0].head[1] = 9; }},
        {"tail", "bone transforms: bone 0: the tail is not the head of bone 1",
         [](SceneDoc& d) { std::copy_n(d.bones[0].head, 3, d.bones[0].tail); }},
        {"length", "bone transforms: bone 1: length to parent 5",
         [](SceneDoc& d) { d.bones[1].length_to_parent = 5; }},
        {"tracks", "tracks: animation 0: 3 tracks for 2 bones",
         [](SceneDoc& d) { d.animations[0].tracks.resize(3); }},
        {"rotation keys", "rotation keys: animation 0, track 1, key 1",
         [](SceneDoc& d) {
             d.animations[0].tracks[1].rotation_keys = {{0, {0, 0.6f, 0, 0.8f}},
                                                        {1, {0, 0, 0, -1}}};
         }},
        {"empty map slot", "maps: material 0, map 1: the slot holds no map",
         [](SceneDoc& d) { d.materials[0].maps.emplace_back(); }},
        {"two maps on a channel", "maps: material 0, map 1: channel 0 already has a map",
         [](SceneDoc& d) { d.materials[0].maps.emplace_back(new yfx::DocMap()); }},
        {"layered map without layers", "maps: material 0, map 0: a layered map without layers",
         [](SceneDoc& d) { d.materials[0].maps[0]->map_type = 4; }},
        {"layers on an image map", "maps: material 0, map 0: a map of type 1 holds 1 layers",
         [](SceneDoc& d) { d.materials[0].maps[0]->layers.resize(1); }},
    };
    for (const Broken& c : cases) {
        SceneDoc doc;
        loadScene(doc);
        ASSERT_EQ(yfx::checkLoadedDocument(doc), "") << c.what;
        c.breakIt(doc);
        const std::string message = yfx::checkLoadedDocument(doc);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << c.what << ": " << message;
    }

    // Files before version 30 carry one UV per corner in every set.
    SceneDoc doc;
    ASSERT_EQ(load(doc, craftFile(9)), 1);
    ASSERT_FALSE(doc.uvsets[1].uvs.empty());
    doc.uvsets[1].uvs.pop_back();
    EXPECT_EQ(yfx::checkLoadedDocument(doc).rfind("legacy uvs: uv set 1", 0), 0u);
}

// What the file gives and no pass repairs is not demanded.
TEST(LoadedDocumentCheck, LeavesWhatTheFileGivesAlone) {
    using yfx::SceneDoc;
    const std::function<void(SceneDoc&)> asRead[] = {
        [](SceneDoc& d) { d.vertices[0].position[0] = kNaN; },
        [](SceneDoc& d) { d.vertices[1].weights[0].weight = kInf; },
        [](SceneDoc& d) {
            d.vertices[0].weights.push_back({9, 0.0f, 1});
        }, // no such bone
        [](SceneDoc& d) {
            yfx::DocCorner& c = d.meshes[0].polygons[0].corners[1];
            c.uv[0].index = 999;
            c.uv[1].second = -7;
            c.index2 = 12345;
        },
        [](SceneDoc& d) { d.meshes[0].polygons[0].word2 = 55; },
        [](SceneDoc& d) { d.lights[1].name = d.lights[0].name; },
        [](SceneDoc& d) { d.lights[0].name.ansi[0] = '?'; },
        [](SceneDoc& d) { d.vertices.emplace_back(); }, // used by no polygon
        [](SceneDoc& d) {
            d.materials[0].maps[0]->channel = 99;
            d.materials[0].maps[0]->map_type = 42;
        },
        [](SceneDoc& d) { d.animations[0].tracks[0].rotation_keys[0].value[0] = kNaN; },
        [](SceneDoc& d) { d.animations[0].tracks.resize(1); },
    };
    for (std::size_t k = 0; k < std::size(asRead); ++k) {
        SceneDoc doc;
        loadScene(doc);
        asRead[k](doc);
        EXPECT_EQ(yfx::checkLoadedDocument(doc), "") << "case " << k;
    }
}

// Five vertices weighted to be awkward, the first and last not finite,
// in triangles (0, 1, 2) and (2, 3, 4).
ByteList awkwardMesh() {
    struct Vertex {
        float x;
        std::vector<std::pair<std::int32_t, float>> weights;
    };
    const Vertex vertices[] = {
        {kNaN, {{0, kNaN}}},
        {1, {{-1, 0.5f}, {0, 0.25f}}},    // the entry of no bone drops out: (0, 1)
        {2, {{0, 1e-45f}}},               // scaling a subnormal sum overflows
        {3, {{0, 3e38f}, {1, 3e38f}}},    // the sum overflows: both weights become 0
        {kInf, {{0, 0.5f}, {1, -0.5f}}}}; // sums to 0: left alone
    MeshSpec spec;
    spec.vertices = 5;
    spec.triangles = {{0, 1, 2}, {2, 3, 4}};
    ChunkWriter w;
    w.begin(tag::kMeshes).i32(1).begin(tag::kMesh);
    w.begin(tag::kVertices).i32(5);
    for (const Vertex& v : vertices) {
        w.floats({v.x, 0, 0});
        w.i32(static_cast<std::int32_t>(v.weights.size()));
        for (const auto& weight : v.weights) {
            w.i32(weight.first);
            w.f32(weight.second);
        }
    }
    w.end();
    meshPolygons(w, spec);
    meshUVSets(w, spec);
    return w.end().end().data;
}

// Bones with a non-finite position, a parent past the last bone and a bone
// that is its own parent; an animation with more tracks than bones and a
// rotation key that is not a number.
ByteList awkwardSkeleton() {
    ChunkWriter w;
    w.begin(tag::kBones).i32(4);
    boneRecord(w, L"Root", -1, kNaN);
    boneRecord(w, L"Lost", 9, 1);
    boneRecord(w, L"Self", 2, 2);
    boneRecord(w, L"Leaf", 0, 3);
    w.end();
    w.begin(tag::kAnimations).i32(1);
    w.wname(L"Odd").i32(0).floats({0, 10, 24});
    w.i32(6);
    for (int t = 0; t < 6; ++t) {
        w.i32(0);
        w.i32(3);
        w.floats({0, 0, 0, 0, 1, 1, kNaN, 0, 0, 1, 2, 0, 0, 0, -1});
        w.i32(0);
    }
    return w.end().data;
}

TEST(LoadedDocumentCheck, AcceptsLoadsOfAwkwardButReadableFiles) {
    const ByteList two = chunkedFile(kAllVertexFlags, {meshContainer(kAllVertexFlags, {{}, {}})});
    const ByteList samples[] = {
        sceneFile(),   sceneFile(0),
        two,           craftFile(9),
        craftFile(31), chunkedFile(flag::kWeights, {awkwardMesh(), awkwardSkeleton()}),
    };
    for (const ByteList& file : samples) {
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(yfx::loadFromMemory(doc, file.data(), file.size(), L"", &reason), 1) << reason;
        EXPECT_EQ(yfx::checkLoadedDocument(doc), "");
    }
    yfx::SceneDoc doc;
    const ByteList awkward = samples[std::size(samples) - 1];
    ASSERT_EQ(yfx::loadFromMemory(doc, awkward.data(), awkward.size()), 1);
    ASSERT_EQ(doc.vertices.size(), 5u);
    EXPECT_EQ(doc.vertices[1].weights[0].weight, 0.0f);
    EXPECT_EQ(doc.vertices[1].weights[1].weight, 1.0f);
    EXPECT_EQ(doc.vertices[3].weights[0].weight, 0.0f);
    EXPECT_EQ(doc.animations[0].tracks.size(), 4u);
}

} // namespace
