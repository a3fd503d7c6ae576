// The cases where the reader guards the document against what a file may
// hold: surplus tracks and layers, corners outside the vertex pool, texture
// paths of every map type and version, repeated map channels, missing groups
// and layers.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "format/header_codec.h"
#include "reader/chunked_builder.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

int loadScene(yfx::SceneDoc& doc, int version, const CraftedScene& scene,
              std::string* reason = nullptr) {
    return load(doc, craftFile(version, scene), reason);
}

TEST(ReaderCases, TracksBeyondTheBonesAreReadPast) {
    CraftedScene scene;
    scene.track_count = 5;
    scene.animation_count = 2;
    for (int version : {8, 31}) {
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(loadScene(doc, version, scene, &reason), 1) << reason;
        ASSERT_EQ(doc.animations.size(), 2u);
        EXPECT_EQ(wide(doc.animations[1].name), L"Run"); // read right after the surplus
        for (const yfx::DocAnimation& a : doc.animations) {
            ASSERT_EQ(a.tracks.size(), 2u);
            EXPECT_EQ(a.tracks[1].scale_keys.size(), 1u);
        }
    }
}

TEST(ReaderCases, TracksWithoutBonesAreReadPast) {
    CraftedScene scene;
    scene.bones = false;
    scene.animation_count = 2;
    yfx::SceneDoc doc;
    ASSERT_EQ(loadScene(doc, 31, scene), 1);
    ASSERT_EQ(doc.animations.size(), 2u);
    EXPECT_TRUE(doc.animations[0].tracks.empty());
    EXPECT_EQ(wide(doc.animations[1].name), L"Run");
}

TEST(ReaderCases, LayersBeyondTheUVSetsAreReadPast) {
    CraftedScene scene;
    scene.uv_layers = 3;
    for (int version : {9, 11, 31}) {
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(loadScene(doc, version, scene, &reason), 1) << version << ": " << reason;
        ASSERT_EQ(doc.uvsets.size(), 2u);
        EXPECT_FLOAT_EQ(doc.uvsets[1].uvs[6].v, 0.4f * 6);
        EXPECT_EQ(doc.meshes[0].polygons[1].corners[2].uv[1].index, 6);
        EXPECT_EQ(wide(doc.bones[1].name), L"Tip"); // the bones follow in place
    }
}

TEST(ReaderCases, OneEarlyLayerFillsOnlyTheFirstUVSet) {
    CraftedScene scene;
    scene.uv_layers = 1;
    yfx::SceneDoc doc;
    ASSERT_EQ(loadScene(doc, 11, scene), 1);
    EXPECT_FLOAT_EQ(doc.uvsets[0].uvs[5].u, 0.5f);
    for (const yfx::DocUV& uv : doc.uvsets[1].uvs) {
        EXPECT_EQ(uv.u, 0.0f);
        EXPECT_EQ(uv.v, 0.0f);
    }
    EXPECT_EQ(doc.meshes[0].polygons[0].corners[0].uv[1].index, -1);
}

TEST(ReaderCases, EarlyCornersTakeConsecutiveUVEntries) {
    // Every corner of a polygon has its own UV entry: corner c of the
    // triangle after the quad is entry 4 + c, with its own coordinates.
    yfx::SceneDoc doc;
    ASSERT_EQ(loadScene(doc, 20, CraftedScene()), 1);
    const yfx::DocPolygon& triangle = doc.meshes[0].polygons[1];
    for (int c = 0; c < 3; ++c) {
        const int entry = triangle.corners[c].uv[0].index;
        EXPECT_EQ(entry, 4 + c);
        EXPECT_FLOAT_EQ(doc.uvsets[0].uvs[entry].u, 0.1f * float(4 + c));
    }
}

TEST(ReaderCases, PolygonsWithCornersOutsideThePoolAreDropped) {
    CraftedScene scene;
    scene.bad_polygons = true;
    for (int version : {9, 31}) {
        yfx::SceneDoc doc;
        std::string reason;
        ASSERT_EQ(loadScene(doc, version, scene, &reason), 1) << reason;
        ASSERT_EQ(doc.meshes.size(), 1u);
        const std::vector<yfx::DocPolygon>& polygons = doc.meshes[0].polygons;
        ASSERT_EQ(polygons.size(), 2u) << version;
        EXPECT_EQ(polygons[0].cornerCount(), 4);
        EXPECT_EQ(polygons[1].cornerCount(), 3);
        // The triangle's UVs are still the ones after the dropped polygons'.
        EXPECT_EQ(polygons[1].corners[0].uv[0].index, 4 + 3 + 2);
        EXPECT_EQ(doc.materials[0].face_count, 2);
    }
}

TEST(ReaderCases, AllVertexIndicesBadLeavesAnEmptyMesh) {
    yfx::SceneDoc doc;
    std::vector<std::uint8_t> file = craftFile(31);
    // Every vertex index of the first polygon becomes -7.
    const std::uint32_t meshes = yfx::loadU32(file.data() + 16 + 7 * 8 + 4);
    Bytes b;
    b.data = file;
    for (int c = 0; c < 4; ++c) {
        b.putU32(meshes + 8 + 20 + 8 * c, static_cast<std::uint32_t>(-7));
    }
    ASSERT_EQ(load(doc, b.data), 1);
    ASSERT_EQ(doc.meshes[0].polygons.size(), 1u);
    EXPECT_EQ(doc.meshes[0].polygons[0].cornerCount(), 3);
}

TEST(ReaderCases, EmptyTexturePathStaysEmpty) {
    CraftedScene scene;
    scene.colour_path = L"";
    yfx::SceneDoc doc;
    ASSERT_EQ(loadScene(doc, 31, scene), 1);
    EXPECT_TRUE(doc.materials[0].maps[0]->path.empty());
    EXPECT_EQ(wide(doc.materials[0].maps[1]->layers[0].path), L"C:\\proj\\a.png");
}

TEST(ReaderCases, RepeatedMapChannelFailsTheLoad) {
    CraftedScene scene;
    scene.duplicate_channel = true;
    for (int version : {9, 31}) {
        yfx::SceneDoc doc;
        std::string reason;
        EXPECT_EQ(loadScene(doc, version, scene, &reason), 0);
        EXPECT_EQ(reason, "materials: material 0, map 1: channel 0 already has a map");
        EXPECT_TRUE(isEmpty(doc));
    }
}

TEST(ReaderCases, LayeredMapWithoutLayersGetsThreeDefaultLayers) {
    for (int count : {0, -4}) {
        CraftedScene scene;
        scene.opacity_layers = count;
        yfx::SceneDoc doc;
        ASSERT_EQ(loadScene(doc, 31, scene), 1);
        const yfx::DocMap& layered = *doc.materials[0].maps[1];
        ASSERT_EQ(layered.layers.size(), 3u);
        EXPECT_TRUE(layered.layers[0].path.empty());
        EXPECT_FLOAT_EQ(layered.layers[2].layer_float, 1.0f);
        EXPECT_EQ(doc.materials[0].maps[2]->map_type, 5); // the next map is in place
    }
}

TEST(ReaderCases, MeshesWithoutGroupsGetOneDefaultGroup) {
    CraftedScene scene;
    scene.groups = false;
    yfx::SceneDoc doc;
    ASSERT_EQ(loadScene(doc, 31, scene), 1);
    ASSERT_EQ(doc.groups.size(), 1u);
    EXPECT_EQ(ansi(doc.groups[0].name), "YFXGroup0");
    EXPECT_EQ(doc.section_counts[yfx::kSectionGroups], 1);
}

TEST(ReaderCases, NormalsAreReadPastAndMissingColoursStayWhite) {
    CraftedScene scene;
    scene.flags = 1;
    yfx::SceneDoc doc;
    ASSERT_EQ(loadScene(doc, 31, scene), 1);
    EXPECT_FLOAT_EQ(doc.vertices[3].position[1], 1.0f);
    EXPECT_FLOAT_EQ(doc.vertices[3].colour[0], 1.0f);
    scene.flags = 3;
    ASSERT_EQ(loadScene(doc, 9, scene), 1);
    EXPECT_FLOAT_EQ(doc.vertices[3].colour[0], 0.3f);
}

// A folder with a texture in it and one in a sub-folder; removed at the end.
class TextureFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.ready());
        folder_ = scratch_.path() + "/";
        ASSERT_TRUE(makeFolder(folder_ + "sub") && makeFolder(folder_ + "part"));
        touch(folder_ + "sub/rel.png");
        touch(folder_ + "sub/a.png");
        // All six paths of a type 5 map in sub/, all but p5.png in part/.
        for (int k = 0; k < 6; ++k) {
            touch(folder_ + "sub/p" + std::to_string(k) + ".png");
            if (k < 5) {
                touch(folder_ + "part/p" + std::to_string(k) + ".png");
            }
        }
    }

    static void touch(const std::string& path) { std::ofstream(path) << "x"; }
    // The folder as the document names it: in the host convention.
    std::wstring wfolder() const { return hostPath(folder_); }

    // Writes the scene as a file into the folder and loads it from there.
    std::wstring loadColourPath(int version, const std::wstring& stored) {
        CraftedScene scene;
        scene.colour_path = stored;
        const std::vector<std::uint8_t> file = craftFile(version, scene);
        const std::string path = folder_ + "scene.yfx";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        yfx::SceneDoc doc;
        std::string reason;
        EXPECT_EQ(yfx::loadFile(doc, hostPath(path), &reason), 1) << reason;
        return doc.materials.empty() ? L"" : wide(doc.materials[0].maps[0]->path);
    }

    ScratchFolder scratch_{"reader_textures_"};
    std::string folder_;
};

// The scene in the layout of `version`; version 34 holds the materials of
// version 33 (late form, UTF-16 names) in its materials chunk.
std::vector<std::uint8_t> sceneInVersion(int version, const CraftedScene& scene) {
    if (version != 34) {
        return craftFile(version, scene);
    }
    const std::vector<std::uint8_t> v33 = craftFile(33, scene);
    const std::uint32_t from = yfx::loadU32(v33.data() + 16 + 2 * 8 + 4); // materials
    const std::uint32_t to = yfx::loadU32(v33.data() + 16 + 3 * 8 + 4);   // groups
    ChunkWriter materials;
    materials.begin(tag::kMaterials).raw(ByteList(v33.begin() + from, v33.begin() + to)).end();
    return chunkedFile(0, {materials.data});
}

// Every texture path of a map follows one rule: versions 10, 33 and 34 keep
// a stored path whose file exists, every other version (and those three, for
// a file that does not exist) takes the file name from beside the project
// file. The paths of a map are judged as the map stores them: each layer of
// a type 4 map on its own, the six paths of a type 5 map together.
//   version  names   material form            found paths
//   9        8-bit   early (3 layer paths)    moved
//   10       UTF-16  early                    kept
//   30       8-bit   early                    moved
//   31       8-bit   late (counted layers)    moved
//   32       UTF-16  late                     moved
//   33       UTF-16  late                     kept
//   34       UTF-16  late, in a chunk         kept
TEST_F(TextureFolder, EveryPathOfAMapFollowsTheVersionsRule) {
    const std::wstring dir = wfolder();
    for (int version : {9, 10, 30, 31, 32, 33, 34}) {
        SCOPED_TRACE("version " + std::to_string(version));
        const bool keeps = version == 10 || version >= 33;
        for (const wchar_t* six : {L"sub\\", L"part\\"}) {
            CraftedScene scene;
            scene.colour_path = dir + L"sub\\rel.png";
            scene.layer_paths[0] = dir + L"sub\\a.png";
            scene.layer_paths[1] = L"D:\\gone\\b.png";
            scene.six_prefix = dir + six;
            yfx::SceneDoc doc;
            std::string reason;
            ASSERT_EQ(load(doc, sceneInVersion(version, scene), &reason, dir + L"scene.yfx"), 1)
                << reason;
            const std::vector<std::unique_ptr<yfx::DocMap>>& maps = doc.materials[0].maps;
            EXPECT_EQ(wide(maps[0]->path), dir + (keeps ? L"sub\\rel.png" : L"rel.png"));
            ASSERT_EQ(maps[1]->layers.size(), 2u);
            EXPECT_EQ(wide(maps[1]->layers[0].path), dir + (keeps ? L"sub\\a.png" : L"a.png"));
            EXPECT_EQ(wide(maps[1]->layers[1].path), dir + L"b.png");
            // part\ lacks p5.png: all six move, though five of them exist.
            const bool sixKept = keeps && std::wstring(six) == L"sub\\";
            for (int k = 0; k < 6; ++k) {
                const std::wstring name = L"p" + std::to_wstring(k) + L".png";
                const yfx::NamePair& path = k == 0 ? maps[2]->path : maps[2]->more_paths[k - 1];
                const std::wstring expected = dir + (sixKept ? six + name : name);
                EXPECT_EQ(wide(path), expected) << six << name;
                EXPECT_EQ(ansi(path), std::string(expected.begin(), expected.end())); // ASCII
            }
        }
    }
}

TEST_F(TextureFolder, RelativePathsAreTestedAgainstTheProjectFolder) {
    char before[4096];
    ASSERT_NE(::getcwd(before, sizeof before), nullptr);
    EXPECT_EQ(loadColourPath(33, L"sub\\rel.png"), wfolder() + L"sub\\rel.png");
    EXPECT_EQ(loadColourPath(31, L"sub\\rel.png"), wfolder() + L"rel.png");
    char after[4096];
    ASSERT_NE(::getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(before, after); // the current directory is left alone
}

} // namespace
