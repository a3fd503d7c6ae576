// Small builders of test documents through the document operations.
#pragma once

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "document/document.h"

namespace passtest {

// Per-corner values derived from the corner's vertex index, so that a test
// can tell whether every list travelled with its corner.
inline std::int32_t index2Of(std::int32_t v) {
    return 1000 + v;
}
inline std::int32_t uvIndexOf(int layer, std::int32_t v) {
    return 3000 + 1000 * layer + v;
}
inline std::int32_t uvSecondOf(int layer, std::int32_t v) {
    return 5000 + 1000 * layer + v;
}

// Vertex indices first, first + 1, ..., first + n - 1.
inline std::vector<std::int32_t> run(std::int32_t n, std::int32_t first = 0) {
    std::vector<std::int32_t> out(static_cast<std::size_t>(n));
    std::iota(out.begin(), out.end(), first);
    return out;
}

// A polygon over the given vertex indices; corner i gets edge flag 10 + i and
// the per-corner values above; word 2 follows the group as the reader sets it.
inline yfx::DocPolygon makePolygon(const std::vector<std::int32_t>& vertices,
                                   std::int32_t group = -1, std::int32_t material = -1) {
    yfx::DocPolygon polygon;
    yfx::preparePolygon(polygon, static_cast<std::int32_t>(vertices.size()));
    for (std::uint32_t i = 0; i < vertices.size(); ++i) {
        yfx::DocCorner& corner = polygon.corners[i];
        const std::int32_t v = vertices[i];
        corner = {v, index2Of(v), 10 + static_cast<std::int32_t>(i), {}};
        for (int layer = 0; layer < yfx::kPolygonUVLayers; ++layer) {
            corner.uv[layer].index = uvIndexOf(layer, v);
            corner.uv[layer].second = uvSecondOf(layer, v);
        }
    }
    polygon.group = polygon.word2 = group;
    polygon.material = material;
    return polygon;
}

// Pool vertices at x = 0, 1, 2, ... (y and z 0).
inline void addVertices(yfx::SceneDoc& doc, std::int32_t n) {
    const std::size_t first = doc.vertices.size();
    doc.vertices.resize(first + static_cast<std::size_t>(n));
    for (std::size_t i = first; i < doc.vertices.size(); ++i) {
        doc.vertices[i].position[0] = static_cast<float>(i);
    }
}

inline yfx::DocMesh& addMeshWith(yfx::SceneDoc& doc, std::vector<yfx::DocPolygon> polygons) {
    yfx::DocMesh& mesh = *yfx::addMesh(doc);
    mesh.polygons = std::move(polygons);
    return mesh;
}

inline std::string ansiName(const yfx::NamePair& name) {
    return name.ansi;
}
inline std::wstring wideName(const yfx::NamePair& name) {
    return name.wide;
}

} // namespace passtest
