// A picture of one material's UV layout: the UDIM tiles its corners fall in
// as a grid with their numbers, the colour map under tile 1001, and every
// polygon's UV edges over them.
#pragma once

#include <cstdint>
#include <vector>

#include "document/scene_doc.h"
#include "util/rgba_image.h"

namespace yfx {
namespace render {

constexpr std::uint8_t kUvBackground[4] = {48, 48, 48, 255};
constexpr std::uint8_t kUvGrid[4] = {120, 120, 120, 255};
constexpr std::uint8_t kUvEdge[4] = {0, 190, 255, 255};
constexpr std::uint8_t kUvDigits[4] = {230, 230, 230, 255};

// UDIM tiles: 1001 + column + 10 x row, columns 0 to 9 (u) and rows 0 to 9 (v).
constexpr int kFirstTile = 1001;
constexpr int kLastTile = 1100;

struct UvLayoutSettings {
    int size = 1024; // the longer side of the picture, 16 to 16384
    int tile = 0;    // only this tile; 0: every tile the material's corners fall in
    const RgbaImage* colour_map = nullptr;
};

struct UvLayoutResult {
    std::vector<int> tiles;      // the tiles drawn, ascending
    std::size_t polygons = 0;    // polygons drawn
    std::size_t edges_drawn = 0; // UV edges with both ends usable
};

// A polygon of the document: its mesh and its place in that mesh.
struct PolygonRef {
    std::uint32_t mesh = 0;
    std::uint32_t polygon = 0;
};

// The polygons of each material, in document order, in one pass: entry m
// lists the polygons whose material index is m (polygons naming no material
// are left out).
std::vector<std::vector<PolygonRef>> polygonsByMaterial(const SceneDoc& doc);

// Draws the layout of `polygons` (one material's, as polygonsByMaterial
// gives them; the first UV layer of each, from the document's first UV
// set, v upwards: render/corner_uv.h) into `out`. The picture holds
// the smallest block of tiles (columns by rows) around every finite corner's
// tile, clamped to the UDIM range, with square tiles; corners outside that
// range lie outside the picture and their edges are cut at its border. A
// material without usable UVs shows tile 1001. False when the size or tile
// is out of range or the picture cannot be allocated.
bool drawUvLayout(const SceneDoc& doc, const std::vector<PolygonRef>& polygons,
                  const UvLayoutSettings& settings, RgbaImage& out,
                  UvLayoutResult* result = nullptr);

} // namespace render
} // namespace yfx
