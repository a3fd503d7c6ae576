// The cases where the reader guards the document against what a file may
// hold: surplus tracks and layers, corners outside the vertex pool, texture
// paths, repeated map channels, missing groups and layers.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "format/header_codec.h"
#include "reader/crafted_file.h"
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
        folder_ = ::testing::TempDir() + "reader_textures_" + std::to_string(::getpid()) + "/";
        ASSERT_EQ(std::system(("mkdir -p '" + folder_ + "sub'").c_str()), 0);
        touch(folder_ + "found.png");
        touch(folder_ + "sub/rel.png");
    }
    void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

    static void touch(const std::string& path) { std::ofstream(path) << "x"; }
    // The folder as the document names it: in the host convention.
    std::wstring wfolder() const {
        std::wstring w(folder_.begin(), folder_.end());
        for (wchar_t& c : w) {
            c = c == L'/' ? L'\\' : c;
        }
        return w;
    }

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
        EXPECT_EQ(yfx::loadFile(doc, std::wstring(path.begin(), path.end()), &reason), 1) << reason;
        return doc.materials.empty() ? L"" : wide(doc.materials[0].maps[0]->path);
    }

    std::string folder_;
};

TEST_F(TextureFolder, FoundPathsAreKeptOnlyByTheVersionsThatKeepThem) {
    const std::wstring found = wfolder() + L"found.png";
    EXPECT_EQ(loadColourPath(33, found), found);
    EXPECT_EQ(loadColourPath(10, found), found);
    // Other versions look beside the project file, found or not.
    EXPECT_EQ(loadColourPath(31, L"D:\\elsewhere\\found.png"), wfolder() + L"found.png");
    EXPECT_EQ(loadColourPath(32, found), wfolder() + L"found.png");
    // A path that does not exist is moved even by version 33.
    EXPECT_EQ(loadColourPath(33, L"D:\\gone\\missing.png"), wfolder() + L"missing.png");
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
