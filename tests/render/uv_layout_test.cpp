// UV layout pictures: the tiles a material's corners fall in, drawn as a
// grid with numbers, the edges inside them and the colour map under 1001.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/uv_layout.h"
#include "render_docs.h"

namespace {

using namespace rendertest;
using yfx::render::kUvBackground;
using yfx::render::kUvDigits;
using yfx::render::kUvEdge;

bool is(const yfx::RgbaImage& image, int x, int y, const std::uint8_t rgba[4]) {
    return std::equal(rgba, rgba + 4, image.at(x, y));
}

// Pixels of colour rgba inside the square cell of side `cell` at column c
// (from the left) and row r (from the top) of the picture.
int countIn(const yfx::RgbaImage& image, int c, int r, int cell, const std::uint8_t rgba[4]) {
    int n = 0;
    for (int y = r * cell; y < (r + 1) * cell; ++y) {
        for (int x = c * cell; x < (c + 1) * cell; ++x) {
            n += is(image, x, y, rgba) ? 1 : 0;
        }
    }
    return n;
}

bool drawLayout(const yfx::SceneDoc& doc, std::size_t material,
                const yfx::render::UvLayoutSettings& settings, yfx::RgbaImage& image,
                yfx::render::UvLayoutResult* result = nullptr) {
    const auto lists = yfx::render::polygonsByMaterial(doc);
    return yfx::render::drawUvLayout(doc, lists.at(material), settings, image, result);
}

// Material 0: a quad from (0.2, 0.2) to (1.8, 0.8), across tiles 1001 and
// 1002. Material 1: a triangle inside tile 1015 (u 4.1 to 4.9, v 1.1 to 1.9).
yfx::SceneDoc twoMaterialDoc() {
    yfx::SceneDoc doc;
    addMaterial(doc, 1, 1, 1);
    addMaterial(doc, 1, 1, 1);
    doc.uvsets.resize(1);
    const float uvs[][2] = {{0.2f, 0.2f}, {1.8f, 0.2f}, {1.8f, 0.8f}, {0.2f, 0.8f},
                            {4.1f, 1.1f}, {4.9f, 1.1f}, {4.5f, 1.9f}};
    for (const auto& uv : uvs) {
        addUv(doc, uv[0], uv[1]);
        addVertex(doc, {uv[0], uv[1], 0});
    }
    addPolygon(doc, {0, 1, 2, 3}, 0, {0, 1, 2, 3});
    addPolygon(doc, {4, 5, 6}, 1, {4, 5, 6});
    return doc;
}

TEST(UvLayout, DrawsTheTilesTheCornersFallInWithTheirNumbersAndEdges) {
    struct Case {
        const char* name;
        std::int32_t material;
        int tile;
        std::vector<int> tiles;
        int columns, rows;
        std::vector<bool> edgesInCell; // per cell, left to right, top to bottom
    };
    const Case cases[] = {
        {"a quad across two tiles", 0, 0, {1001, 1002}, 2, 1, {true, true}},
        {"only the second of them", 0, 1002, {1002}, 1, 1, {true}},
        {"a tile the quad misses", 0, 1003, {1003}, 1, 1, {false}},
        {"another material in tile 1015", 1, 0, {1015}, 1, 1, {true}},
    };
    const yfx::SceneDoc doc = twoMaterialDoc();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        yfx::render::UvLayoutSettings settings;
        settings.size = 256;
        settings.tile = c.tile;
        yfx::RgbaImage image;
        yfx::render::UvLayoutResult result;
        ASSERT_TRUE(drawLayout(doc, std::size_t(c.material), settings, image, &result));
        EXPECT_EQ(result.tiles, c.tiles);
        const int cell = 256 / std::max(c.columns, c.rows);
        ASSERT_EQ(image.width, cell * c.columns);
        ASSERT_EQ(image.height, cell * c.rows);
        for (int i = 0; i < c.columns * c.rows; ++i) {
            SCOPED_TRACE(i);
            const int column = i % c.columns, row = i / c.columns;
            // Edges cross the cell from side to side or not at all.
            const int edges = countIn(image, column, row, cell, kUvEdge);
            if (c.edgesInCell[std::size_t(i)]) {
                EXPECT_GT(edges, cell / 2);
            } else {
                EXPECT_EQ(edges, 0);
            }
            EXPECT_GT(countIn(image, column, row, cell, kUvDigits), 20); // the tile number
        }
    }
}

TEST(UvLayout, TheColourMapLiesUnderTile1001Only) {
    yfx::RgbaImage map;
    map.width = 2, map.height = 2;
    map.pixels = {200, 0, 0, 255, 200, 0, 0, 255, 0, 0, 200, 255, 0, 0, 200, 255};
    yfx::render::UvLayoutSettings settings;
    settings.size = 200;
    settings.colour_map = &map;
    yfx::RgbaImage image;
    ASSERT_TRUE(drawLayout(twoMaterialDoc(), 0, settings, image));
    ASSERT_EQ(image.width, 200);
    const std::uint8_t red[4] = {200, 0, 0, 255}, blue[4] = {0, 0, 200, 255};
    EXPECT_TRUE(is(image, 50, 10, red));  // v above 0.5: the map's top row
    EXPECT_TRUE(is(image, 50, 95, blue)); // v below 0.5: its bottom row
    EXPECT_TRUE(is(image, 150, 10, kUvBackground));
    // A block without tile 1001 shows no map at all.
    settings.tile = 1002;
    ASSERT_TRUE(drawLayout(twoMaterialDoc(), 0, settings, image));
    int mapped = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            mapped += is(image, x, y, red) || is(image, x, y, blue) ? 1 : 0;
        }
    }
    EXPECT_EQ(mapped, 0);
}

TEST(UvLayout, BrokenUvsAndSettingsAreRefusedOrPassedOver) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    yfx::SceneDoc doc = twoMaterialDoc();
    const float bad[][2] = {{nan, 0.5f}, {1e30f, -1e30f}, {-3.5f, 0.5f}};
    for (const auto& uv : bad) {
        addUv(doc, uv[0], uv[1]);
    }
    addPolygon(doc, {0, 1, 2}, 0, {7, 8, 9});        // not a number, huge, left of the grid
    addPolygon(doc, {0, 1, 2}, 0, {-1, 3, 1 << 30}); // indices outside the set
    yfx::render::UvLayoutSettings settings;
    settings.size = 300;
    yfx::RgbaImage image;
    yfx::render::UvLayoutResult result;
    ASSERT_TRUE(drawLayout(doc, 0, settings, image, &result));
    // The huge and the left corners stretch the block over the whole first
    // row (clamped to the grid): ten tiles.
    EXPECT_EQ(result.tiles.size(), 10u);
    EXPECT_EQ(result.polygons, 3u);
    EXPECT_EQ(result.edges_drawn, 4u + 1u); // the quad's four, the huge-to-left edge
    const yfx::SceneDoc empty;
    ASSERT_TRUE(yfx::render::drawUvLayout(empty, {}, settings, image, &result));
    EXPECT_EQ(result.tiles, std::vector<int>{1001});
    for (const int tile : {1000, 1101, -5}) {
        settings.tile = tile;
        EXPECT_FALSE(drawLayout(doc, 0, settings, image));
    }
    settings.tile = 0;
    settings.size = 8;
    EXPECT_FALSE(drawLayout(doc, 0, settings, image));
}

} // namespace
