// Small builders of test documents through the document operations.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "document/document.h"

namespace passtest {

// Per-corner values derived from the corner's vertex index, so that a test
// can tell whether every list travelled with its corner.
inline std::int32_t index2Of(std::int32_t v) {
    return 1000 + v;
}
inline std::int32_t index3Of(std::int32_t v) {
    return 2000 + v;
}
inline std::int32_t uvIndexOf(int layer, std::int32_t v) {
    return 3000 + 1000 * layer + v;
}
inline std::int32_t uvSecondOf(int layer, std::int32_t v) {
    return 5000 + 1000 * layer + v;
}

// A polygon over the given vertex indices; corner i gets edge flag 10 + i and
// the per-corner values above.
inline yfx::DocPolygon makePolygon(std::initializer_list<std::int32_t> vertices,
                                   std::int32_t group = -1, std::int32_t material = -1) {
    yfx::DocPolygon polygon;
    EXPECT_EQ(yfx::preparePolygon(polygon, static_cast<std::int32_t>(vertices.size())), 1);
    std::uint32_t i = 0;
    for (std::int32_t v : vertices) {
        yfx::DocCorner& corner = polygon.corners[i];
        corner.vertex = v;
        corner.index2 = index2Of(v);
        corner.index3 = index3Of(v);
        corner.flags = 10 + static_cast<std::int32_t>(i);
        for (int layer = 0; layer < yfx::kPolygonUVLayers; ++layer) {
            corner.uv[layer].index = uvIndexOf(layer, v);
            corner.uv[layer].second = uvSecondOf(layer, v);
        }
        ++i;
    }
    polygon.group = group;
    polygon.word2 = group;
    polygon.material = material;
    return polygon;
}

// A polygon of n corners over vertices first, first + 1, ...
inline yfx::DocPolygon makeFan(std::int32_t n, std::int32_t first = 0) {
    yfx::DocPolygon polygon;
    EXPECT_EQ(yfx::preparePolygon(polygon, n), 1);
    for (std::int32_t i = 0; i < n; ++i) {
        yfx::DocCorner& corner = polygon.corners[static_cast<std::uint32_t>(i)];
        corner.vertex = first + i;
        corner.index2 = index2Of(first + i);
        corner.flags = 10 + i;
    }
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

inline yfx::DocMesh& addMeshWith(yfx::SceneDoc& doc, std::initializer_list<yfx::DocPolygon> list) {
    yfx::DocMesh* mesh = yfx::addMesh(doc);
    EXPECT_NE(mesh, nullptr);
    for (const yfx::DocPolygon& polygon : list) {
        mesh->polygons.push_back(polygon);
    }
    return *mesh;
}

inline std::wstring wideName(const yfx::NamePair& name) {
    return std::wstring(name.wide);
}

inline std::string ansiName(const yfx::NamePair& name) {
    return std::string(name.ansi);
}

} // namespace passtest
