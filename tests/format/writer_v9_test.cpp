#include <gtest/gtest.h>

#include <memory>

#include "format/writer_v9.h"
#include "test_bytes.h"
#include "test_decoder.h"
#include "test_scene.h"

namespace yfx_test {
namespace {

using namespace yfx;

std::vector<std::uint8_t> writeV9(const SceneDoc& doc, const WriterOptions& options) {
    MemorySink sink;
    FileHeaderV2 header;
    EXPECT_EQ(writeDocumentV2(doc, options, sink, header), 1);
    EXPECT_EQ(header.size, sink.bytes().size());
    return sink.release();
}

TEST(WriterV9, HeaderTableMatchesTheSectionsAndLeavesOutLightsAndCameras) {
    const std::vector<std::uint8_t> bytes = writeV9(makeFullScene(), allOptions());
    const ParsedStream s = decodeV9(bytes);
    EXPECT_EQ(s.magic, "YFXH");
    EXPECT_EQ(s.version, 9u);
    EXPECT_EQ(s.flags, 2u);
    EXPECT_EQ(s.size, bytes.size());
    EXPECT_EQ(s.end, bytes.size());
    ASSERT_EQ(s.found.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(s.offsets[i], s.found[i]) << "section " << i;
        EXPECT_EQ(s.counts[i], s.countsFound[i]) << "section " << i;
    }
    EXPECT_EQ(s.offsets[0], 96u);
    EXPECT_EQ(s.reservedHeader, std::vector<std::uint8_t>(8, 0));
    // The document has two lights and a camera; this layout holds neither.
    const std::vector<std::int32_t> counts = {0, 0, 2, 2, 5, 2, 2, 1, 3};
    EXPECT_EQ(s.counts, counts);
    EXPECT_EQ(s.groupNames, (std::vector<std::string>{"Body", "Head"}));
    EXPECT_EQ(s.vertices[2].colour, (std::vector<float>{1, 0.5f, 1, 1}));
    EXPECT_EQ(s.info[1], "v3.0");
}

TEST(WriterV9, PolygonsAreGroupedByGroupInMeshOrder) {
    const ParsedStream s = decodeV9(writeV9(makeFullScene(), allOptions()));
    ASSERT_EQ(s.polygonGroups.size(), 2u);
    const ParsedGroupBlock& body = s.polygonGroups[0];
    EXPECT_EQ(body.group, 0);
    ASSERT_EQ(body.polygons.size(), 2u);
    EXPECT_EQ(body.polygons[0].vertices, (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(body.polygons[1].vertices, (std::vector<std::int32_t>{3, 4, 0}));
    const ParsedGroupBlock& head = s.polygonGroups[1];
    EXPECT_EQ(head.group, 1);
    ASSERT_EQ(head.polygons.size(), 2u);
    EXPECT_EQ(head.polygons[0].vertices, (std::vector<std::int32_t>{1, 2, 4})); // mesh 0
    EXPECT_EQ(head.polygons[1].vertices, (std::vector<std::int32_t>{4, 3, 2})); // mesh 1
    // The polygons of group 5 and of no group are not written at all.

    const ParsedPolygon& quad = body.polygons[0];
    EXPECT_EQ(quad.corners, 4);
    EXPECT_EQ(quad.layers, 2);
    EXPECT_EQ(quad.material, 1);
    EXPECT_EQ(quad.value2, 0xFEED0004u);
    ASSERT_EQ(quad.uvs.size(), 24u);
    // Layer 0 corner 1 is UV 1 of set 0, layer 1 corner 0 is UV 1 of set 1.
    EXPECT_EQ(quad.uvs[3], 1.0f);
    EXPECT_EQ(quad.uvs[4], 1.5f);
    EXPECT_EQ(quad.uvs[5], 0.0f);
    EXPECT_EQ(quad.uvs[12], 11.0f);
    EXPECT_EQ(quad.uvs[13], 11.5f);
    // Group 1's first polygon has no set 0 UV at corner 1.
    EXPECT_EQ(head.polygons[0].uvs[3], 0.0f);
    EXPECT_EQ(head.polygons[0].uvs[4], 0.0f);
    EXPECT_EQ(head.polygons[0].material, -1);
    // Mesh 1 has one UV set: its layer 1 is all zeros.
    const ParsedPolygon& last = head.polygons[1];
    for (std::size_t i = 9; i < 18; ++i) {
        EXPECT_EQ(last.uvs[i], 0.0f) << i;
    }
    EXPECT_EQ(last.uvs[0], 20.0f);
}

TEST(WriterV9, UVAndMaterialOptions) {
    WriterOptions options = allOptions();
    options.export_uvsets = 0;
    options.export_materials = 0;
    ParsedStream s = decodeV9(writeV9(makeFullScene(), options));
    EXPECT_TRUE(s.materials.empty());
    const ParsedPolygon& quad = s.polygonGroups[0].polygons[0];
    EXPECT_EQ(quad.material, -1);
    EXPECT_EQ(quad.uvs[3], 1.0f);
    for (std::size_t i = 12; i < 24; ++i) {
        EXPECT_EQ(quad.uvs[i], 0.0f) << i;
    }
    options.export_uvs = 0;
    options.export_uvsets = 1;
    s = decodeV9(writeV9(makeFullScene(), options));
    for (float f : s.polygonGroups[0].polygons[0].uvs) {
        EXPECT_EQ(f, 0.0f);
    }
}

TEST(WriterV9, MapHeadsAndTails) {
    const ParsedStream s = decodeV9(writeV9(makeFullScene(), allOptions()));
    ASSERT_EQ(s.materials.size(), 2u);
    const ParsedMaterial& skin = s.materials[0];
    ASSERT_EQ(skin.maps.size(), 6u);
    for (const ParsedMap& m : skin.maps) {
        EXPECT_EQ(m.head, (std::vector<std::uint32_t>{8448, 10497}));
    }
    EXPECT_EQ(skin.maps[0].flags, 0x310002u);
    EXPECT_EQ(skin.maps[0].tail[0], 1u);
    EXPECT_EQ(skin.maps[0].names, (std::vector<std::string>{"skin.png"}));
    EXPECT_EQ(skin.maps[0].tail[1], 11u);
    EXPECT_EQ(skin.maps[1].tail.size(), 8u);
    EXPECT_EQ(skin.maps[2].tail.back(), 77u);

    // Five layers: mask 7 and the first three only, values grouped by kind.
    const ParsedMap& layered = skin.maps[3];
    EXPECT_EQ(layered.tail[0], 7u);
    EXPECT_EQ(layered.names, (std::vector<std::string>{"layer0.png", "layer.png", "layer.png"}));
    const std::vector<std::uint32_t> values(layered.tail.begin() + 1, layered.tail.end());
    ASSERT_EQ(values.size(), 12u);
    EXPECT_EQ(std::vector<std::uint32_t>(values.begin(), values.begin() + 6),
              (std::vector<std::uint32_t>{100, 101, 102, 200, 201, 202}));
    EXPECT_EQ(std::vector<std::uint32_t>(values.begin() + 6, values.begin() + 9),
              (std::vector<std::uint32_t>{0, 0, 0}));
    EXPECT_EQ(asFloat(values[9]), 0.5f);
    EXPECT_EQ(asFloat(values[11]), 2.5f);

    // Paths 1 and 4 set: mask 1 + 8.
    EXPECT_EQ(skin.maps[4].tail, (std::vector<std::uint32_t>{9}));
    EXPECT_EQ(skin.maps[4].names[3], "pz.png");
    EXPECT_EQ(s.materials[1].maps[1].type, 9);
    EXPECT_TRUE(s.materials[1].maps[1].tail.empty());
}

TEST(WriterV9, MissingLayersGiveEmptyNamesAndDefaults) {
    SceneDoc doc;
    doc.materials.resize(1);
    for (int layers = 0; layers <= 2; ++layers) {
        doc.materials[0].maps.clear();
        doc.materials[0].maps.push_back(std::make_unique<DocMap>());
        DocMap& map = *doc.materials[0].maps[0];
        map.map_type = 4;
        for (int i = 0; i < layers; ++i) {
            DocMapLayer layer;
            layer.path.setAnsi("a\\b.png");
            layer.layer_int = 5;
            layer.layer_value = 6;
            layer.layer_float = 7.0f;
            map.layers.push_back(layer);
        }
        const ParsedStream s = decodeV9(writeV9(doc, allOptions()));
        const ParsedMap& m = s.materials[0].maps[0];
        EXPECT_EQ(m.tail[0], layers == 0 ? 0u : layers == 1 ? 1u : 3u);
        for (int i = 0; i < 3; ++i) {
            const bool present = i < layers;
            EXPECT_EQ(m.names[std::size_t(i)], present ? "b.png" : "");
            EXPECT_EQ(m.tail[1 + std::size_t(i)], present ? 5u : 0u);
            EXPECT_EQ(m.tail[4 + std::size_t(i)], present ? 6u : 0u);
            EXPECT_EQ(asFloat(m.tail[10 + std::size_t(i)]), present ? 7.0f : 1.0f);
        }
    }
}

TEST(WriterV9, BonesWithoutTransformAndDocumentsWithoutGroups) {
    SceneDoc doc = makeFullScene();
    ParsedStream s = decodeV9(writeV9(doc, allOptions()));
    ASSERT_EQ(s.bones.size(), 2u);
    const std::vector<std::uint32_t>& b = s.bones[0].words;
    EXPECT_EQ(static_cast<std::int32_t>(b[0]), -1);
    EXPECT_EQ(asFloat(b[1]), 1.0f);  // position x
    EXPECT_EQ(asFloat(b[4]), 0.5f);  // quaternion x
    EXPECT_EQ(asFloat(b[7]), 1.0f);  // quaternion w
    EXPECT_EQ(asFloat(b[10]), 3.0f); // scale z
    EXPECT_EQ(asFloat(b[11]), 0.1f); // colour r

    doc.groups.clear();
    s = decodeV9(writeV9(doc, allOptions()));
    EXPECT_EQ(s.counts[kV2SectionPolygonGroups], 0);
    EXPECT_TRUE(s.polygonGroups.empty());
}

} // namespace
} // namespace yfx_test
