// Files written by the version 31 and version 9 writers, inside their
// compressed containers, read back with every record the layout carries.
#include <gtest/gtest.h>

#include "format/container.h"
#include "format/test_scene.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "reader/reader_checks.h"

using namespace yfx_test;

namespace {

std::vector<std::uint8_t> writeV31(const yfx::SceneDoc& doc) {
    yfx::MemorySink sink;
    yfx::FileHeader header;
    EXPECT_EQ(yfx::writeDocument(doc, allOptions(), sink, header), 1);
    std::vector<std::uint8_t> packed;
    EXPECT_TRUE(yfx::buildContainer(sink.bytes().data(), sink.bytes().size(), 128, packed));
    return packed;
}

std::vector<std::uint8_t> writeV9(const yfx::SceneDoc& doc) {
    yfx::MemorySink sink;
    yfx::FileHeaderV2 header;
    EXPECT_EQ(yfx::writeDocumentV2(doc, allOptions(), sink, header), 1);
    std::vector<std::uint8_t> packed;
    EXPECT_TRUE(yfx::buildContainer(sink.bytes().data(), sink.bytes().size(), 96, packed));
    return packed;
}

const yfx::DocMap* mapOn(const yfx::DocMaterial& m, std::int32_t channel) {
    for (const auto& map : m.maps) {
        if (map != nullptr && map->channel == channel) {
            return map.get();
        }
    }
    return nullptr;
}

// What both layouts carry in the same way.
void checkShared(const yfx::SceneDoc& in, const yfx::SceneDoc& out) {
    ASSERT_EQ(out.materials.size(), in.materials.size());
    const yfx::DocMaterial& skin = out.materials[0];
    EXPECT_EQ(ansi(skin.name), "Skin");
    EXPECT_EQ(skin.material_word, 3);
    EXPECT_FLOAT_EQ(skin.shininess, 20.0f);
    ASSERT_EQ(skin.maps.size(), 6u);
    for (std::int32_t type = 1; type <= 6; ++type) {
        const yfx::DocMap* map = mapOn(skin, type - 1);
        ASSERT_NE(map, nullptr) << type;
        EXPECT_EQ(map->map_type, type);
        EXPECT_EQ(map->flags, 0x310001u + std::uint32_t(type));
    }
    // Paths are written as bare file names and looked for beside the file.
    EXPECT_EQ(wide(mapOn(skin, 0)->path), L"C:\\proj\\skin.png");
    EXPECT_EQ(mapOn(skin, 0)->tail_int, 11);
    EXPECT_FLOAT_EQ(mapOn(skin, 0)->tail_float_b, 4.5f);
    EXPECT_EQ(wide(mapOn(skin, 1)->path), L"C:\\proj\\opacity.tga");
    EXPECT_EQ(mapOn(skin, 1)->tail_colour, 0x123456u);
    EXPECT_EQ(mapOn(skin, 1)->tail_extra, 0xABCDEF01u);
    EXPECT_EQ(wide(mapOn(skin, 2)->path), L"C:\\proj\\bump.jpg");
    EXPECT_EQ(mapOn(skin, 2)->tail_int_b, 77);
    const yfx::DocMap* layered = mapOn(skin, 3);
    ASSERT_GE(layered->layers.size(), 3u);
    EXPECT_EQ(wide(layered->layers[0].path), L"C:\\proj\\layer0.png");
    EXPECT_EQ(layered->layers[2].layer_int, 102);
    EXPECT_EQ(layered->layers[2].layer_value, 202u);
    EXPECT_FLOAT_EQ(layered->layers[2].layer_float, 2.5f);
    const yfx::DocMap* six = mapOn(skin, 4);
    EXPECT_EQ(wide(six->path), L"C:\\proj\\px.png");
    EXPECT_EQ(wide(six->more_paths[2]), L"C:\\proj\\pz.png");
    EXPECT_TRUE(six->more_paths[0].empty());
    EXPECT_EQ(mapOn(skin, 5)->tail_int, 16);
    const yfx::DocMaterial& cloth = out.materials[1];
    ASSERT_EQ(cloth.maps.size(), 2u);
    EXPECT_EQ(mapOn(cloth, 0)->map_type, 7);
    EXPECT_EQ(wide(mapOn(cloth, 0)->path), L"C:\\proj\\c.png");
    EXPECT_EQ(mapOn(cloth, 1)->map_type, 9);

    ASSERT_EQ(out.groups.size(), 2u);
    EXPECT_EQ(ansi(out.groups[1].name), "Head");

    ASSERT_EQ(out.vertices.size(), in.vertices.size());
    for (std::size_t i = 0; i < in.vertices.size(); ++i) {
        EXPECT_FLOAT_EQ(out.vertices[i].position[2], in.vertices[i].position[2]);
        EXPECT_FLOAT_EQ(out.vertices[i].colour[1], 0.5f);
        ASSERT_EQ(out.vertices[i].weights.size(), in.vertices[i].weights.size());
        for (std::size_t w = 0; w < in.vertices[i].weights.size(); ++w) {
            EXPECT_EQ(out.vertices[i].weights[w].bone, in.vertices[i].weights[w].bone);
        }
    }

    ASSERT_EQ(out.bones.size(), 2u);
    EXPECT_EQ(ansi(out.bones[1].name), "Thigh");
    EXPECT_EQ(out.bones[1].parent, 0);
    EXPECT_FLOAT_EQ(out.bones[0].scale[2], 3.0f);
    EXPECT_FLOAT_EQ(out.bones[0].rotation[0], 0.5f);
    EXPECT_FLOAT_EQ(out.bones[0].colour[0], 0.1f);

    ASSERT_EQ(out.animations.size(), 1u);
    const yfx::DocAnimation& a = out.animations[0];
    EXPECT_EQ(ansi(a.name), "Walk");
    EXPECT_EQ(a.animation_word, 6);
    EXPECT_FLOAT_EQ(a.frames_per_second, 24.0f);
    ASSERT_EQ(a.tracks.size(), 2u);
    ASSERT_EQ(a.tracks[0].position_keys.size(), 1u);
    EXPECT_FLOAT_EQ(a.tracks[0].position_keys[0].value[2], 3.0f);
    EXPECT_EQ(a.tracks[0].rotation_keys.size(), 2u);
    ASSERT_EQ(a.tracks[1].scale_keys.size(), 1u);
    EXPECT_FLOAT_EQ(a.tracks[1].scale_keys[0].time, 0.25f);
}

TEST(RoundTrip, Version31Container) {
    const yfx::SceneDoc in = makeFullScene();
    yfx::SceneDoc out;
    std::string reason;
    ASSERT_EQ(load(out, writeV31(in), &reason), 1) << reason;
    EXPECT_EQ(out.version, 31);
    checkShared(in, out);

    ASSERT_EQ(out.lights.size(), 2u);
    EXPECT_EQ(ansi(out.lights[0].name), "Key");
    EXPECT_EQ(out.lights[0].kind, yfx::kLightSpot);
    EXPECT_FLOAT_EQ(out.lights[0].transform.position[1], 5.0f);
    EXPECT_FLOAT_EQ(out.lights[0].intensity, 0.75f);
    EXPECT_FLOAT_EQ(out.lights[0].value_a, 0.0f);
    ASSERT_EQ(out.cameras.size(), 1u);
    EXPECT_EQ(out.cameras[0].camera_word, 42);
    EXPECT_EQ(out.cameras[0].reserved, 0);
    EXPECT_EQ(out.groups[0].parent, -1);
    EXPECT_EQ(mapOn(out.materials[0], 0)->texture_offset[0], 0.25f);
    EXPECT_FLOAT_EQ(mapOn(out.materials[0], 3)->texture_rotation[2], 0.5f);
    EXPECT_EQ(mapOn(out.materials[0], 3)->layers.size(), 5u);

    // Two meshes with their polygons; the UV sets hold one entry per corner.
    ASSERT_EQ(out.meshes.size(), 2u);
    EXPECT_EQ(out.meshes[0].polygons.size(), 5u);
    EXPECT_EQ(out.meshes[1].polygons.size(), 1u);
    EXPECT_EQ(out.meshes[0].polygons[2].group, 5); // kept as written
    ASSERT_EQ(out.uvsets.size(), 2u);
    EXPECT_EQ(ansi(out.uvsets[1].name), "UVSet1");
    EXPECT_EQ(out.uvsets[0].uvs.size(), 4u + 3 * 5);
    // Corner 2 of the first polygon names UV 2 of the mesh's set 0: (2, 2.5).
    const yfx::DocCorner& corner = out.meshes[0].polygons[0].corners[2];
    EXPECT_EQ(corner.vertex, 2);
    EXPECT_FLOAT_EQ(out.uvsets[0].uvs[corner.uv[0].index].v, 2.5f);
    EXPECT_EQ(out.section_counts[yfx::kSectionInfoStrings], 3);
}

TEST(RoundTrip, Version9Container) {
    const yfx::SceneDoc in = makeFullScene();
    yfx::SceneDoc out;
    std::string reason;
    ASSERT_EQ(load(out, writeV9(in), &reason), 1) << reason;
    EXPECT_EQ(out.version, 9);
    checkShared(in, out);
    EXPECT_TRUE(out.lights.empty());
    EXPECT_TRUE(out.cameras.empty());
    // Only three layers fit into this layout.
    EXPECT_EQ(mapOn(out.materials[0], 3)->layers.size(), 3u);
    // One mesh per group, holding the polygons of that group.
    ASSERT_EQ(out.meshes.size(), 2u);
    EXPECT_EQ(out.meshes[0].polygons.size(), 2u);
    EXPECT_EQ(out.meshes[1].polygons.size(), 2u);
    for (const yfx::DocPolygon& p : out.meshes[1].polygons) {
        EXPECT_EQ(p.group, 1);
    }
    ASSERT_EQ(out.uvsets.size(), 2u);
    EXPECT_EQ(out.uvsets[0].uvs.size(), 4u + 3 * 3);
    EXPECT_EQ(out.legacy_uv_count, 13);
    // The first polygon's corner 2 carries its UV inline: (2, 2.5).
    const yfx::DocCorner& corner = out.meshes[0].polygons[0].corners[2];
    EXPECT_FLOAT_EQ(out.uvsets[0].uvs[corner.uv[0].index].v, 2.5f);
}

} // namespace
