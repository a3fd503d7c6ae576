// Small documents for the picture tests, made through the document operations.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "document/document.h"

namespace rendertest {

using Point = std::array<float, 3>;

// Appends a vertex at p; returns its index.
inline std::int32_t addVertex(yfx::SceneDoc& doc, const Point& p) {
    yfx::DocVertex vertex;
    vertex.position[0] = p[0], vertex.position[1] = p[1], vertex.position[2] = p[2];
    doc.vertices.push_back(vertex);
    return std::int32_t(doc.vertices.size() - 1);
}

// Appends a material of diffuse colour rgb; returns its index.
inline std::int32_t addMaterial(yfx::SceneDoc& doc, float r, float g, float b) {
    yfx::DocMaterial material;
    material.diffuse[0] = r, material.diffuse[1] = g, material.diffuse[2] = b;
    doc.materials.push_back(std::move(material));
    return std::int32_t(doc.materials.size() - 1);
}

// Appends (u, v) to the first UV set, with v upwards as the host takes it
// (the file counts v from the top); returns its index.
inline std::int32_t addUv(yfx::SceneDoc& doc, float u, float v) {
    if (doc.uvsets.empty()) {
        doc.uvsets.resize(1);
    }
    yfx::DocUV uv;
    uv.u = u, uv.v = 1.0f - v;
    doc.uvsets[0].uvs.push_back(uv);
    return std::int32_t(doc.uvsets[0].uvs.size() - 1);
}

// The document's one mesh, made on first use.
inline yfx::DocMesh& meshOf(yfx::SceneDoc& doc) {
    if (doc.meshes.empty()) {
        yfx::addMesh(doc);
    }
    return doc.meshes[0];
}

// A polygon over the given vertex indices (and UV indices, when given).
inline void addPolygon(yfx::SceneDoc& doc, const std::vector<std::int32_t>& vertices,
                       std::int32_t material, const std::vector<std::int32_t>& uvs = {}) {
    yfx::DocMesh& mesh = meshOf(doc);
    yfx::DocPolygon polygon;
    yfx::preparePolygon(polygon, std::int32_t(vertices.size()));
    polygon.material = material;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        polygon.corners[i].vertex = vertices[i];
        polygon.corners[i].uv[0].index = i < uvs.size() ? uvs[i] : -1;
    }
    mesh.polygons.push_back(std::move(polygon));
}

// A triangle over three new vertices in a new material.
inline void addTriangle(yfx::SceneDoc& doc, const Point& a, const Point& b, const Point& c,
                        std::int32_t material) {
    const std::int32_t first = addVertex(doc, a);
    addVertex(doc, b);
    addVertex(doc, c);
    addPolygon(doc, {first, first + 1, first + 2}, material);
}

} // namespace rendertest
