#include "render/uv_layout.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "render/corner_uv.h"
#include "render/digit_font.h"
#include "render/line_trace.h"

namespace yfx {
namespace render {

namespace {

constexpr int kTileColumns = 10;
constexpr int kTileRows = 10;

// The block of tiles shown: columns [column, column + columns), rows likewise.
struct TileBlock {
    int column = 0, row = 0, columns = 1, rows = 1;
    int cell = 0; // pixels per tile side
};

int clampTile(double value, int count) {
    return int(std::min(double(count - 1), std::max(0.0, std::floor(value))));
}

// Calls visit(polygon) for each polygon of the list that the document holds.
template <typename Visit>
void forEachPolygon(const SceneDoc& doc, const std::vector<PolygonRef>& polygons, Visit visit) {
    for (const PolygonRef& ref : polygons) {
        if (ref.mesh < doc.meshes.size() && ref.polygon < doc.meshes[ref.mesh].polygons.size()) {
            visit(doc.meshes[ref.mesh].polygons[ref.polygon]);
        }
    }
}

TileBlock tilesOf(const SceneDoc& doc, const std::vector<PolygonRef>& polygons, int tile,
                  UvLayoutResult& result) {
    TileBlock block;
    double low[2] = {0, 0}, high[2] = {0, 0};
    bool any = false;
    forEachPolygon(doc, polygons, [&](const DocPolygon& polygon) {
        ++result.polygons;
        for (const DocCorner& corner : polygon.corners) {
            double u = 0, v = 0;
            if (!cornerUv(doc, corner, u, v)) {
                continue;
            }
            low[0] = any ? std::min(low[0], u) : u, high[0] = any ? std::max(high[0], u) : u;
            low[1] = any ? std::min(low[1], v) : v, high[1] = any ? std::max(high[1], v) : v;
            any = true;
        }
    });
    if (tile != 0) {
        block.column = (tile - kFirstTile) % kTileColumns;
        block.row = (tile - kFirstTile) / kTileColumns;
    } else if (any) {
        block.column = clampTile(low[0], kTileColumns);
        block.row = clampTile(low[1], kTileRows);
        block.columns = clampTile(high[0], kTileColumns) - block.column + 1;
        block.rows = clampTile(high[1], kTileRows) - block.row + 1;
    }
    return block;
}

void fill(RgbaImage& image, int x0, int y0, int x1, int y1, const std::uint8_t rgba[4]) {
    for (int y = std::max(0, y0); y < std::min(image.height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x) {
            std::copy(rgba, rgba + 4, image.at(x, y));
        }
    }
}

// The colour map scaled (nearest texel) into the cell at (x0, y0).
void drawMap(RgbaImage& image, const RgbaImage& map, int x0, int y0, int cell) {
    for (int y = 0; y < cell; ++y) {
        const int ty = std::min(map.height - 1, int(std::int64_t(y) * map.height / cell));
        for (int x = 0; x < cell; ++x) {
            const int tx = std::min(map.width - 1, int(std::int64_t(x) * map.width / cell));
            std::uint8_t* p = image.at(x0 + x, y0 + y);
            std::copy(map.at(tx, ty), map.at(tx, ty) + 3, p);
            p[3] = 255;
        }
    }
}

} // namespace

std::vector<std::vector<PolygonRef>> polygonsByMaterial(const SceneDoc& doc) {
    std::vector<std::vector<PolygonRef>> lists(doc.materials.size());
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        const std::vector<DocPolygon>& polygons = doc.meshes[m].polygons;
        for (std::size_t p = 0; p < polygons.size(); ++p) {
            const std::int32_t material = polygons[p].material;
            if (material >= 0 && std::size_t(material) < lists.size()) {
                lists[std::size_t(material)].push_back({std::uint32_t(m), std::uint32_t(p)});
            }
        }
    }
    return lists;
}

bool drawUvLayout(const SceneDoc& doc, const std::vector<PolygonRef>& polygons,
                  const UvLayoutSettings& settings, RgbaImage& out, UvLayoutResult* result) {
    out = RgbaImage();
    if (settings.size < 16 || settings.size > 16384 ||
        (settings.tile != 0 && (settings.tile < kFirstTile || settings.tile > kLastTile))) {
        return false;
    }
    try {
        UvLayoutResult drawn;
        TileBlock block = tilesOf(doc, polygons, settings.tile, drawn);
        block.cell = std::max(1, settings.size / std::max(block.columns, block.rows));
        out.width = block.cell * block.columns;
        out.height = block.cell * block.rows;
        out.pixels.resize(std::size_t(out.width) * std::size_t(out.height) * 4);
        fill(out, 0, 0, out.width, out.height, kUvBackground);

        // Tile c, r has its left edge at (c - column) x cell and its top
        // edge at height - (r - row + 1) x cell: v grows upwards.
        const int cell = block.cell;
        const auto tileLeft = [&](int c) { return (c - block.column) * cell; };
        const auto tileTop = [&](int r) { return out.height - (r - block.row + 1) * cell; };
        const bool mapInBlock = block.column == 0 && block.row == 0;
        if (settings.colour_map != nullptr && !settings.colour_map->empty() && mapInBlock) {
            drawMap(out, *settings.colour_map, tileLeft(0), tileTop(0), cell);
        }
        const int scale = std::max(1, cell / 96);
        for (int r = block.row; r < block.row + block.rows; ++r) {
            for (int c = block.column; c < block.column + block.columns; ++c) {
                const int left = tileLeft(c), top = tileTop(r);
                fill(out, left, top, left + cell, top + 1, kUvGrid);
                fill(out, left, top + cell - 1, left + cell, top + cell, kUvGrid);
                fill(out, left, top, left + 1, top + cell, kUvGrid);
                fill(out, left + cell - 1, top, left + cell, top + cell, kUvGrid);
                const int number = kFirstTile + c + kTileColumns * r;
                drawNumber(out, left + 2 * scale + 1, top + 2 * scale + 1, unsigned(number), scale,
                           kUvDigits);
                drawn.tiles.push_back(number);
            }
        }
        std::sort(drawn.tiles.begin(), drawn.tiles.end());

        const auto pixelX = [&](double u) { return (u - block.column) * cell; };
        const auto pixelY = [&](double v) { return out.height - (v - block.row) * cell; };
        const int width = out.width, height = out.height;
        forEachPolygon(doc, polygons, [&](const DocPolygon& polygon) {
            const std::size_t n = polygon.corners.size();
            for (std::size_t k = 0; k < n && n >= 2; ++k) {
                double u0 = 0, v0 = 0, u1 = 0, v1 = 0;
                if (!cornerUv(doc, polygon.corners[k], u0, v0) ||
                    !cornerUv(doc, polygon.corners[(k + 1) % n], u1, v1)) {
                    continue;
                }
                ++drawn.edges_drawn;
                traceLine(
                    pixelX(u0), pixelY(v0), pixelX(u1), pixelY(v1), width, height,
                    [&](int x, int y, double) { std::copy(kUvEdge, kUvEdge + 4, out.at(x, y)); });
            }
        });
        if (result != nullptr) {
            *result = std::move(drawn);
        }
        return true;
    } catch (const std::bad_alloc&) {
        out = RgbaImage();
        return false;
    }
}

} // namespace render
} // namespace yfx
