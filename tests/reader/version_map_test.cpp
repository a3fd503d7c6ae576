// The same scene stored in every sectioned version (6 to 33) reads back with
// the same content: each version's header length, name encoding, record and
// material forms, UV entry width and bone scale are honoured.
#include <gtest/gtest.h>

#include "reader/crafted_file.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

void expectVec(const float* actual, std::initializer_list<float> expected, const char* what) {
    int k = 0;
    for (float e : expected) {
        EXPECT_FLOAT_EQ(actual[k], e) << what << " [" << k << "]";
        ++k;
    }
}

void checkLightAndCamera(const yfx::SceneDoc& doc, int version) {
    ASSERT_EQ(doc.lights.size(), 1u);
    const yfx::DocLight& light = doc.lights[0];
    EXPECT_EQ(wide(light.name), L"Lamp\u00e4");
    EXPECT_EQ(ansi(light.name), "Lamp\xe4");
    EXPECT_EQ(light.kind, 2);
    expectVec(light.transform.position, {1, 2, 3}, "light position");
    expectVec(light.colour, {0.1f, 0.2f, 0.3f, 0.4f}, "light colour");
    EXPECT_FLOAT_EQ(light.intensity, version >= 30 ? 0.75f : 1.0f);
    EXPECT_FLOAT_EQ(light.range_b, version >= 30 ? 9.0f : 8.0f);

    ASSERT_EQ(doc.cameras.size(), 1u);
    const yfx::DocCamera& camera = doc.cameras[0];
    EXPECT_EQ(wide(camera.name), L"Cam");
    EXPECT_EQ(camera.camera_word, 7);
    expectVec(camera.transform.position, {4, 5, 6}, "camera position");
    expectVec(camera.parameters, {50, 2, 500}, "camera parameters");
}

void checkMaterial(const yfx::SceneDoc& doc, int version) {
    ASSERT_EQ(doc.materials.size(), 1u);
    const yfx::DocMaterial& m = doc.materials[0];
    EXPECT_EQ(wide(m.name), L"Skin");
    EXPECT_EQ(m.material_word, 3);
    expectVec(m.diffuse, {0.5f, 0.6f, 0.7f, 1}, "diffuse");
    EXPECT_FLOAT_EQ(m.shininess, 64);
    EXPECT_FLOAT_EQ(m.opacity, 0.5f);
    EXPECT_EQ(m.face_count, 2 * 1);
    ASSERT_EQ(m.maps.size(), 5u);
    for (const auto& map : m.maps) {
        ASSERT_NE(map, nullptr);
    }

    const yfx::DocMap& image = *m.maps[0];
    EXPECT_EQ(image.channel, 0);
    EXPECT_EQ(image.map_type, 1);
    EXPECT_EQ(image.flags, 0x310001u);
    expectVec(image.texture_offset,
              version >= 31 ? std::initializer_list<float>{1, 2, 3}
                            : std::initializer_list<float>{0, 0, 0},
              "texture offset");
    EXPECT_EQ(wide(image.path), L"C:\\proj\\skin.png");
    EXPECT_EQ(ansi(image.path), "C:\\proj\\skin.png");
    EXPECT_EQ(image.tail_int, 7);
    EXPECT_FLOAT_EQ(image.tail_float_a, 2.5f);
    EXPECT_FLOAT_EQ(image.tail_float_b, 1.5f);

    const yfx::DocMap& layered = *m.maps[1];
    EXPECT_EQ(layered.map_type, 4);
    ASSERT_EQ(layered.layers.size(), 2u);
    EXPECT_EQ(wide(layered.layers[0].path), L"C:\\proj\\a.png");
    EXPECT_EQ(wide(layered.layers[1].path), L"C:\\proj\\b.png");
    EXPECT_EQ(layered.layers[1].layer_int, 2);
    EXPECT_EQ(layered.layers[1].layer_value, 0x20u);
    EXPECT_FLOAT_EQ(layered.layers[1].layer_float, 0.25f);

    const yfx::DocMap& six = *m.maps[2];
    EXPECT_EQ(six.map_type, 5);
    EXPECT_EQ(wide(six.path), L"C:\\proj\\p0.png");
    EXPECT_EQ(wide(six.more_paths[4]), L"C:\\proj\\p5.png");

    EXPECT_EQ(m.maps[3]->map_type, 9);
    EXPECT_EQ(m.maps[3]->channel, 3);
    EXPECT_TRUE(m.maps[3]->path.empty());

    const yfx::DocMap& colour = *m.maps[4];
    EXPECT_EQ(colour.map_type, 2);
    EXPECT_EQ(wide(colour.path), L"C:\\proj\\c.png");
    EXPECT_FLOAT_EQ(colour.tail_float_d, 5.0f);
    EXPECT_EQ(colour.tail_colour, 0x112233u);
    EXPECT_EQ(colour.tail_extra, 9u);
}

void checkGeometry(const yfx::SceneDoc& doc, int version) {
    ASSERT_EQ(doc.groups.size(), 2u);
    EXPECT_EQ(wide(doc.groups[1].name), L"Head");

    ASSERT_EQ(doc.vertices.size(), 4u);
    expectVec(doc.vertices[2].position, {1, 1, 0}, "vertex 2");
    expectVec(doc.vertices[3].colour, {0.3f, 0.2f, 0.3f, 1}, "vertex 3 colour");
    ASSERT_EQ(doc.vertices[1].weights.size(), 2u);
    EXPECT_EQ(doc.vertices[1].weights[1].bone, 1);
    EXPECT_FLOAT_EQ(doc.vertices[1].weights[1].weight, 0.5f);
    EXPECT_EQ(doc.vertices[2].weights.size(), 0u);

    if (version >= 30) {
        ASSERT_EQ(doc.face_links.size(), 1u);
        EXPECT_EQ(doc.face_links[0].head, 100);
        EXPECT_EQ(doc.face_links[0].indices[8], 109);
        EXPECT_EQ(doc.face_links[0].tail, 0);
    } else {
        EXPECT_TRUE(doc.face_links.empty());
    }

    ASSERT_EQ(doc.uvsets.size(), 2u);
    EXPECT_EQ(wide(doc.uvsets[0].name), version >= 30 ? L"Map1" : L"UVSet1");
    EXPECT_EQ(wide(doc.uvsets[1].name), version >= 30 ? L"Map2" : L"UVSet2");
    for (int set = 0; set < 2; ++set) {
        ASSERT_EQ(doc.uvsets[set].uvs.size(), 7u);
        for (int j = 0; j < 7; ++j) {
            EXPECT_FLOAT_EQ(doc.uvsets[set].uvs[j].u, (set == 0 ? 0.1f : 0.3f) * float(j))
                << "set " << set << " uv " << j;
            EXPECT_FLOAT_EQ(doc.uvsets[set].uvs[j].v, (set == 0 ? 0.2f : 0.4f) * float(j));
        }
    }
    EXPECT_EQ(doc.legacy_uv_count, version >= 30 ? 0 : 7);

    ASSERT_EQ(doc.meshes.size(), 1u);
    const std::vector<yfx::DocPolygon>& polygons = doc.meshes[0].polygons;
    ASSERT_EQ(polygons.size(), 2u);
    ASSERT_EQ(polygons[0].cornerCount(), 4);
    ASSERT_EQ(polygons[1].cornerCount(), 3);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(polygons[0].corners[c].vertex, c);
        EXPECT_EQ(polygons[0].corners[c].uv[0].index, c);
        EXPECT_EQ(polygons[0].corners[c].uv[1].index, c);
    }
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(polygons[1].corners[c].uv[0].index, 4 + c) << "corner " << c;
    }
    EXPECT_EQ(polygons[0].material, 0);
    EXPECT_EQ(polygons[0].polygon_value2, 5u);
    // Early meshes are polygon groups: every polygon takes the mesh's group.
    EXPECT_EQ(polygons[1].group, version >= 30 ? 1 : 0);
    EXPECT_EQ(polygons[1].word2, polygons[1].group);
}

void checkSkeleton(const yfx::SceneDoc& doc, int version) {
    ASSERT_EQ(doc.bones.size(), 2u);
    const yfx::DocBone& root = doc.bones[0];
    EXPECT_EQ(wide(root.name), L"Root");
    EXPECT_EQ(root.parent, -1);
    expectVec(root.position, {0, 1, 0}, "root position");
    expectVec(root.scale,
              version >= 9 ? std::initializer_list<float>{1, 2, 3}
                           : std::initializer_list<float>{1, 1, 1},
              "root scale");
    expectVec(root.colour, {1, 0, 0, 1}, "root colour");
    const yfx::DocBone& tip = doc.bones[1];
    EXPECT_EQ(tip.parent, 0);
    expectVec(tip.rotation, {0, 0.6f, 0, 0.8f}, "tip rotation");
    expectVec(tip.colour, {0, 1, 0, 1}, "tip colour");

    ASSERT_EQ(doc.animations.size(), 1u);
    const yfx::DocAnimation& a = doc.animations[0];
    EXPECT_EQ(wide(a.name), L"Walk");
    EXPECT_FLOAT_EQ(a.end_frame, 10);
    EXPECT_FLOAT_EQ(a.frames_per_second, 24);
    ASSERT_EQ(a.tracks.size(), 2u);
    ASSERT_EQ(a.tracks[0].position_keys.size(), 2u);
    EXPECT_FLOAT_EQ(a.tracks[0].position_keys[1].time, 1);
    EXPECT_FLOAT_EQ(a.tracks[0].position_keys[1].value[1], 2);
    EXPECT_EQ(a.tracks[0].scale_keys.size(), 0u);
    ASSERT_EQ(a.tracks[1].rotation_keys.size(), 2u);
    EXPECT_FLOAT_EQ(a.tracks[1].rotation_keys[1].value[1], 0.6f);
    ASSERT_EQ(a.tracks[1].scale_keys.size(), 1u);
    expectVec(a.tracks[1].scale_keys[0].value, {2, 2, 2}, "scale key");
}

class EveryVersion : public ::testing::TestWithParam<int> {};

TEST_P(EveryVersion, ReadsTheWholeScene) {
    const int version = GetParam();
    yfx::SceneDoc doc;
    std::string reason;
    ASSERT_EQ(load(doc, craftFile(version), &reason), 1) << reason;
    EXPECT_EQ(doc.version, version);
    EXPECT_EQ(doc.section_counts[yfx::kSectionInfoStrings], 3);
    checkLightAndCamera(doc, version);
    checkMaterial(doc, version);
    checkGeometry(doc, version);
    checkSkeleton(doc, version);
}

TEST_P(EveryVersion, ReadsTheSameSceneInsideAContainer) {
    const int version = GetParam();
    yfx::SceneDoc doc;
    std::string reason;
    ASSERT_EQ(load(doc, craftContainer(craftFile(version)), &reason), 1) << reason;
    EXPECT_EQ(doc.version, version);
    checkGeometry(doc, version);
    checkSkeleton(doc, version);
}

INSTANTIATE_TEST_SUITE_P(Sectioned, EveryVersion, ::testing::Range(6, 34));

TEST(VersionMap, NameEncodingFollowsTheVersion) {
    // A UTF-16 name read as 8-bit text would stop at its first zero byte, and
    // 8-bit text read as UTF-16 would pair up its bytes.
    for (int version : {9, 10, 11, 31, 32, 33}) {
        yfx::SceneDoc doc;
        CraftedScene scene;
        scene.light_name = L"\u0141\u00f3d\u017a"; // "Łódź": only UTF-16 holds it whole
        const bool utf16 = version == 10 || version >= 32;
        ASSERT_EQ(load(doc, craftFile(version, scene)), 1) << version;
        // The 8-bit files hold the low byte of each character.
        EXPECT_EQ(wide(doc.lights[0].name), utf16 ? L"\u0141\u00f3d\u017a" : L"A\u00f3dz")
            << version;
        if (utf16) {
            EXPECT_EQ(ansi(doc.lights[0].name), "?\xf3"
                                                "d?");
        }
    }
}

} // namespace
