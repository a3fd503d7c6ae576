#include <gtest/gtest.h>

#include <cstdio>

#include "format/header_codec.h"
#include "format/writer_v31.h"
#include "test_bytes.h"
#include "test_decoder.h"
#include "test_scene.h"

namespace yfx_test {
namespace {

using namespace yfx;

std::vector<std::uint8_t> writeV31(const SceneDoc& doc, const WriterOptions& options,
                                   FileHeader* headerOut = nullptr) {
    MemorySink sink;
    FileHeader header;
    EXPECT_EQ(writeDocument(doc, options, sink, header), 1);
    if (headerOut != nullptr) {
        *headerOut = header;
    }
    return sink.release();
}

TEST(WriterV31, EmptyDocumentIsTheMinimalStream) {
    WriterOptions options;
    options.creator_text = L"C";
    options.version_text = L"v";
    options.time_text = L"T";
    const std::vector<std::uint8_t> bytes = writeV31(SceneDoc(), options);

    // Sections after the header: lights 128, cameras 132, materials 136,
    // groups 140, vertices 144, face links 148, UV sets 152 (two sets of
    // 9 + 4 + 4 bytes), meshes 190, bones 194, animations 198, info 202.
    Bytes expected;
    expected.v = {'Y', 'F', 'X', 'H'};
    expected.u32(31).u32(2).u32(218);
    const std::uint32_t offsets[11] = {128, 132, 136, 140, 144, 148, 152, 190, 194, 198, 202};
    const std::int32_t counts[11] = {0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 3};
    for (int i = 0; i < 11; ++i) {
        expected.i32(counts[i]).u32(offsets[i]);
    }
    expected.zeros(24);
    expected.i32(0).i32(0).i32(0).i32(0).i32(0).i32(0);
    expected.i32(2).str("UVSet0").i32(0).i32(0).str("UVSet1").i32(0).i32(0);
    expected.i32(0).i32(0).i32(0);
    expected.i32(3).str("C").str("v").str("T");
    EXPECT_EQ(bytes, expected.v);
}

TEST(WriterV31, HeaderTableMatchesTheSectionsOfAFullScene) {
    FileHeader header;
    const std::vector<std::uint8_t> bytes = writeV31(makeFullScene(), allOptions(), &header);
    const ParsedStream s = decodeV31(bytes);
    EXPECT_EQ(s.magic, "YFXH");
    EXPECT_EQ(s.version, 31u);
    EXPECT_EQ(s.flags, 2u);
    EXPECT_EQ(s.size, bytes.size());
    EXPECT_EQ(s.end, bytes.size());
    ASSERT_EQ(s.found.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(s.offsets[i], s.found[i]) << "section " << i;
        EXPECT_EQ(s.counts[i], s.countsFound[i]) << "section " << i;
        // The record the caller keeps holds the same table.
        EXPECT_EQ(header.sections[i].offset, s.offsets[i]);
        EXPECT_EQ(header.sections[i].count, s.counts[i]);
    }
    EXPECT_EQ(s.offsets[0], 128u);
    EXPECT_EQ(header.size, bytes.size());
    EXPECT_EQ(s.reservedHeader, std::vector<std::uint8_t>(24, 0));
    const std::vector<std::int32_t> counts = {2, 1, 2, 2, 5, 0, 2, 2, 2, 1, 3};
    EXPECT_EQ(s.counts, counts);
}

TEST(WriterV31, RecordsCarryTheirFieldsAndTheFixedValues) {
    const SceneDoc doc = makeFullScene();
    const ParsedStream s = decodeV31(writeV31(doc, allOptions()));

    ASSERT_EQ(s.lights.size(), 2u);
    const NamedWords& key = s.lights[0];
    EXPECT_EQ(key.name, "Key");
    EXPECT_EQ(key.words[0], 1600u);
    EXPECT_EQ(key.words[1], 2u);
    EXPECT_EQ(asFloat(key.words[2 + 10]), 5.0f); // transform position y
    EXPECT_EQ(asFloat(key.words[42]), 0.0f);
    EXPECT_EQ(asFloat(key.words[43]), 1.0f);
    EXPECT_EQ(asFloat(key.words[44]), 0.75f);
    EXPECT_EQ(asFloat(key.words[49]), 2.0f);
    EXPECT_EQ(asFloat(key.words[50]), 8.0f);

    ASSERT_EQ(s.cameras.size(), 1u);
    EXPECT_EQ(s.cameras[0].words[0], 0u);
    EXPECT_EQ(s.cameras[0].words[1], 42u);
    EXPECT_EQ(asFloat(s.cameras[0].words[40]), 45.0f);
    EXPECT_EQ(asFloat(s.cameras[0].words[42]), 1000.0f);

    // Groups: 0, -1, identity placement with a quaternion of four zeros.
    ASSERT_EQ(s.groups.size(), 2u);
    const std::vector<std::uint32_t>& g = s.groups[0].words;
    EXPECT_EQ(s.groups[0].name, "Body");
    EXPECT_EQ(g[0], 0u);
    EXPECT_EQ(g[1], 0xFFFFFFFFu);
    EXPECT_EQ(asFloat(g[2]), 1.0f);  // axes x.x
    EXPECT_EQ(asFloat(g[14]), 1.0f); // scale x
    EXPECT_EQ(asFloat(g[17]), 1.0f); // matrix [0][0]
    EXPECT_EQ(asFloat(g[32]), 1.0f); // matrix [3][3]
    for (int i = 33; i < 40; ++i) {
        EXPECT_EQ(g[std::size_t(i)], 0u) << i;
    }

    // Vertices: position and colour (flag 2), no normal, then weights.
    ASSERT_EQ(s.vertices.size(), 5u);
    EXPECT_TRUE(s.vertices[2].normal.empty());
    EXPECT_EQ(s.vertices[2].position, (std::vector<float>{2, 0, -2}));
    EXPECT_EQ(s.vertices[2].colour, (std::vector<float>{1, 0.5f, 1, 1}));
    ASSERT_EQ(s.vertices[2].weights.size(), 2u);
    EXPECT_EQ(s.vertices[2].weights[1].first, 1);
    EXPECT_EQ(s.vertices[2].weights[1].second, 0.5f);

    // Bones: parent, placement from position, scale and rotation, colour.
    ASSERT_EQ(s.bones.size(), 2u);
    const std::vector<std::uint32_t>& b = s.bones[0].words;
    EXPECT_EQ(static_cast<std::int32_t>(b[0]), -1);
    EXPECT_EQ(asFloat(b[10]), 1.0f); // position x
    EXPECT_EQ(asFloat(b[15]), 3.0f); // scale z
    EXPECT_EQ(asFloat(b[32]), 0.5f); // quaternion x
    EXPECT_EQ(asFloat(b[35]), 1.0f); // quaternion w
    EXPECT_EQ(asFloat(b[39]), 0.1f); // colour r
    EXPECT_EQ(s.bones[1].words[0], 0u);

    ASSERT_EQ(s.animations.size(), 1u);
    const ParsedAnimation& a = s.animations[0];
    EXPECT_EQ(a.name, "Walk");
    EXPECT_EQ(a.word, 6);
    EXPECT_EQ(a.fps, 24.0f);
    ASSERT_EQ(a.tracks.size(), 2u);
    EXPECT_EQ(a.tracks[0].position, (std::vector<float>{0.5f, 1, 2, 3}));
    EXPECT_EQ(a.tracks[0].rotation.size(), 10u);
    EXPECT_EQ(a.tracks[1].scale, (std::vector<float>{0.25f, 2, 2, 2}));

    EXPECT_EQ(s.info, (std::vector<std::string>{"Creator", "v3.0", "Thu Jan  1 00:00:00 1970"}));
}

TEST(WriterV31, MapsKeepTheirTailsAndOnlyTheImageFileNames) {
    const ParsedStream s = decodeV31(writeV31(makeFullScene(), allOptions()));
    ASSERT_EQ(s.materials.size(), 2u);
    const ParsedMaterial& skin = s.materials[0];
    EXPECT_EQ(skin.name, "Skin");
    EXPECT_EQ(skin.block[0], 3u);
    EXPECT_EQ(asFloat(skin.block[21]), 20.0f); // shininess
    ASSERT_EQ(skin.maps.size(), 6u);
    const ParsedMap& image = skin.maps[0];
    EXPECT_EQ(image.type, 1);
    EXPECT_EQ(image.flags, 0x310002u);
    EXPECT_EQ(asFloat(image.head[0]), 0.25f);
    EXPECT_EQ(asFloat(image.head[4]), 2.0f);
    EXPECT_EQ(image.names, (std::vector<std::string>{"skin.png"}));
    EXPECT_EQ(image.tail[0], 11u);
    EXPECT_EQ(asFloat(image.tail[2]), 4.5f);
    EXPECT_EQ(skin.maps[1].names, (std::vector<std::string>{"opacity.tga"}));
    EXPECT_EQ(skin.maps[1].tail[5], 0x123456u);
    EXPECT_EQ(skin.maps[1].tail[6], 0xABCDEF01u);
    EXPECT_EQ(skin.maps[2].names, (std::vector<std::string>{"bump.jpg"}));
    EXPECT_EQ(skin.maps[2].tail[3], 77u);
    const ParsedMap& layered = skin.maps[3];
    EXPECT_EQ(layered.tail[0], 5u); // every layer in this layout
    ASSERT_EQ(layered.names.size(), 5u);
    EXPECT_EQ(layered.names[0], "layer0.png");
    EXPECT_EQ(layered.tail[1], 100u);
    EXPECT_EQ(layered.tail[2], 200u);
    EXPECT_EQ(asFloat(layered.tail[3]), 0.5f);
    EXPECT_EQ(skin.maps[4].names, (std::vector<std::string>{"px.png", "", "", "pz.png", "", ""}));
    EXPECT_EQ(skin.maps[5].names, (std::vector<std::string>{"six.bmp"}));
    EXPECT_EQ(skin.maps[5].tail, (std::vector<std::uint32_t>{16}));

    // The empty slot is not written; the unknown type has its head only.
    const ParsedMaterial& cloth = s.materials[1];
    ASSERT_EQ(cloth.maps.size(), 2u);
    EXPECT_EQ(cloth.maps[0].type, 7);
    EXPECT_EQ(cloth.maps[0].names, (std::vector<std::string>{"c.png"}));
    EXPECT_EQ(cloth.maps[1].type, 9);
    EXPECT_TRUE(cloth.maps[1].names.empty());
    EXPECT_TRUE(cloth.maps[1].tail.empty());
}

TEST(WriterV31, UVSetsFlattenEveryCornerAndPolygonsNumberThem) {
    const ParsedStream s = decodeV31(writeV31(makeFullScene(), allOptions()));
    ASSERT_EQ(s.uvsets.size(), 2u);
    EXPECT_EQ(s.uvsets[0].name, "UVSet0");
    EXPECT_EQ(s.uvsets[1].name, "UVSet1");
    const std::size_t corners = 4 + 3 + 3 + 3 + 3 + 3;
    ASSERT_EQ(s.uvsets[0].words.size(), corners * 3);
    auto uv = [&](int set, std::size_t corner) {
        const std::vector<std::uint32_t>& w = s.uvsets[std::size_t(set)].words;
        EXPECT_EQ(w[corner * 3], 0u) << "the UV word is always 0";
        return std::make_pair(asFloat(w[corner * 3 + 1]), asFloat(w[corner * 3 + 2]));
    };
    // Mesh 0, polygon 0, corner 2 names UV 2 in set 0 and UV 3 in set 1.
    EXPECT_EQ(uv(0, 2), std::make_pair(2.0f, 2.5f));
    EXPECT_EQ(uv(1, 2), std::make_pair(13.0f, 13.5f));
    // Polygon 1 corner 1 has index -1 in set 0.
    EXPECT_EQ(uv(0, 5), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(uv(1, 5), std::make_pair(12.0f, 12.5f));
    // Polygon 4 corner 0 names entry 5 of a five-entry set.
    EXPECT_EQ(uv(0, 13), std::make_pair(0.0f, 0.0f));
    // Mesh 1 has no second set; its first set is its own.
    EXPECT_EQ(uv(0, 17), std::make_pair(21.0f, 21.5f));
    EXPECT_EQ(uv(1, 17), std::make_pair(0.0f, 0.0f));

    ASSERT_EQ(s.meshes.size(), 2u);
    ASSERT_EQ(s.meshes[0].size(), 5u);
    const ParsedPolygon& p1 = s.meshes[0][1];
    EXPECT_EQ(p1.corners, 3);
    EXPECT_EQ(p1.layers, 2);
    EXPECT_EQ(p1.group, 1);
    EXPECT_EQ(p1.material, -1);
    EXPECT_EQ(p1.value2, 0xFEED0003u);
    EXPECT_EQ(p1.vertices, (std::vector<std::int32_t>{1, 2, 4}));
    EXPECT_EQ(p1.uvNumbers, (std::vector<std::int32_t>{4, 5, 6, 4, 5, 6}));
    EXPECT_EQ(p1.seconds, std::vector<std::int32_t>(9, -1));
    EXPECT_EQ(s.meshes[0][2].group, 5); // written as it stands in this layout
    EXPECT_EQ(s.meshes[1][0].uvNumbers, (std::vector<std::int32_t>{16, 17, 18, 16, 17, 18}));
}

TEST(WriterV31, OptionsOffEmptyTheirSections) {
    const SceneDoc doc = makeFullScene();
    WriterOptions options = allOptions();
    options.export_lights = 0;
    options.export_materials = 2; // only exactly 1 is on
    options.export_joints = 0;
    const ParsedStream s = decodeV31(writeV31(doc, options));
    EXPECT_TRUE(s.lights.empty());
    EXPECT_EQ(s.counts[0], 0);
    EXPECT_EQ(s.cameras.size(), 1u); // cameras follow no option
    EXPECT_TRUE(s.materials.empty());
    EXPECT_TRUE(s.bones.empty());
    EXPECT_TRUE(s.animations.empty()); // animation needs the joints as well
    for (const ParsedVertex& v : s.vertices) {
        EXPECT_TRUE(v.weights.empty());
    }
    for (const auto& mesh : s.meshes) {
        for (const ParsedPolygon& p : mesh) {
            EXPECT_EQ(p.material, -1);
        }
    }

    options = allOptions();
    options.export_animation = 0;
    const ParsedStream t = decodeV31(writeV31(doc, options));
    EXPECT_EQ(t.bones.size(), 2u);
    EXPECT_TRUE(t.animations.empty());
    EXPECT_EQ(t.meshes[0][0].material, 1);
}

TEST(WriterV31, UVOptionsDecideWhichSetsAreLookedUp) {
    const SceneDoc doc = makeFullScene();
    auto anyNonZero = [](const ParsedUVSet& set) {
        for (std::size_t i = 0; i < set.words.size(); ++i) {
            if (set.words[i] != 0) {
                return true;
            }
        }
        return false;
    };
    WriterOptions options = allOptions();
    options.export_uvsets = 0;
    ParsedStream s = decodeV31(writeV31(doc, options));
    EXPECT_TRUE(anyNonZero(s.uvsets[0]));
    EXPECT_FALSE(anyNonZero(s.uvsets[1]));

    options.export_uvs = 0;
    options.export_uvsets = 1;
    s = decodeV31(writeV31(doc, options));
    EXPECT_FALSE(anyNonZero(s.uvsets[0]));
    EXPECT_FALSE(anyNonZero(s.uvsets[1]));
    EXPECT_EQ(s.uvsets[0].words.size(), 19u * 3); // still one UV per corner
}

TEST(WriterV31, FileStreamAndMemoryGiveTheSameBytes) {
    const SceneDoc doc = makeFullScene();
    const std::vector<std::uint8_t> memory = writeV31(doc, allOptions());
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    FileHeader header;
    EXPECT_EQ(writeDocument(doc, allOptions(), f, header), 1);
    std::vector<std::uint8_t> file(memory.size() + 16);
    std::rewind(f);
    file.resize(std::fread(file.data(), 1, file.size(), f));
    std::fclose(f);
    EXPECT_EQ(file, memory);

    FileHeader unused;
    EXPECT_EQ(writeDocument(doc, allOptions(), static_cast<std::FILE*>(nullptr), unused), 0);
}

} // namespace
} // namespace yfx_test
