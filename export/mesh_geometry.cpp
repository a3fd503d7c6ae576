#include "export/mesh_geometry.h"

#include <algorithm>
#include <new>
#include <vector>

#include <dzfacetmesh.h>
#include <dzmap.h>
#include <dzvertexmap.h>

#include "document/doc_alloc.h"
#include "normalise/index_checks.h"

namespace yfx {
namespace exporter {

using normalise::indexIn;

int gatherMeshVertices(DocMesh& mesh, const DzGeometry& shapeGeometry, const DzVertexMesh* cached) {
    mesh.mesh_value = shapeGeometry.getNumVertices();
    const DzGeometry& source = cached != nullptr ? *cached : shapeGeometry;
    const int count = source.getNumVertices();
    const DzPnt3* points = source.getVerticesPtr();
    if (count < 1 || points == nullptr) {
        return 1;
    }
    if (allocateMeshVertices(mesh, count) == 0) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        float* position = mesh.vertices[static_cast<std::size_t>(i)].position;
        position[0] = points[i][0];
        position[1] = points[i][1];
        position[2] = points[i][2];
    }
    return 1;
}

namespace {

bool isTriangle(const DzFacet& facet) {
    return facet.m_vertIdx[3] < 0;
}

} // namespace

int gatherMeshPolygons(DocMesh& mesh, const DzFacetMesh& geometry) {
    const int facetCount = geometry.getNumFacets();
    const DzFacet* facets = geometry.getFacetsPtr();
    if (facetCount < 1 || facets == nullptr) {
        mesh.highest_vertex_index = kNoPolygonVertexIndex;
        return 1;
    }
    if (allocatePolygons(mesh, facetCount) == 0) {
        return 0;
    }
    // Room for the UV of every corner of layer 0, which gatherMeshUVs fills.
    std::size_t corners = 0;
    for (int f = 0; f < facetCount; ++f) {
        corners += isTriangle(facets[f]) ? 3 : 4;
    }
    std::vector<DocUV>& cornerUVs = mesh.gathered_corner_uvs[0];
    try {
        cornerUVs.assign(corners, DocUV{});
    } catch (const std::bad_alloc&) {
        std::vector<DocUV>().swap(cornerUVs);
        return 0;
    }
    const std::size_t vertexCount = mesh.vertices.size();
    std::int32_t highest = kNoPolygonVertexIndex;
    std::size_t next = 0;
    for (const bool triangles : {true, false}) {
        for (int f = 0; f < facetCount; ++f) {
            const DzFacet& facet = facets[f];
            if (isTriangle(facet) != triangles) {
                continue;
            }
            DocPolygon& polygon = mesh.polygons[next++];
            const int cornerCount = triangles ? 3 : 4;
            if (preparePolygon(polygon, cornerCount) == 0) {
                return 0;
            }
            polygon.material = facet.m_materialIdx;
            for (int c = 0; c < cornerCount; ++c) {
                DocCorner& corner = polygon.corners[static_cast<std::size_t>(c)];
                const std::int32_t vertex = facet.m_vertIdx[c];
                corner.vertex = indexIn(vertex, vertexCount) ? vertex : -1;
                corner.uv[0].index = facet.m_uvwIdx[c];
                highest = std::max(highest, corner.vertex);
            }
        }
    }
    mesh.highest_vertex_index = highest;
    return 1;
}

namespace {

// The points of a two-component UV map, or none.
struct UVSource {
    const DzPnt2* points = nullptr;
    std::size_t count = 0;
};

UVSource uvSourceOf(const DzMap* map) {
    UVSource source;
    if (map != nullptr && map->getType() == DzMap::FLOAT2_MAP && map->getNumValues() > 0) {
        source.points = map->getPnt2ArrayPtr();
        source.count = source.points != nullptr ? static_cast<std::size_t>(map->getNumValues()) : 0;
    }
    return source;
}

} // namespace

void gatherMeshUVs(DocMesh& mesh, const DzFacetMesh& geometry, bool isCachedGeometry) {
    // Polygons name surfaces, and each surface one map: the maps are looked
    // up once per surface rather than once per polygon.
    const bool hasUVSets = geometry.getNumUVSets() >= 1;
    std::vector<UVSource> sources(mesh.surfaces.size());
    for (std::size_t s = 0; s < sources.size(); ++s) {
        const DzMap* map = nullptr;
        if (isCachedGeometry) {
            map = geometry.getUVs();
        } else if (hasUVSets) {
            map = geometry.getUVSet(mesh.surfaces[s].uv_set_index);
        }
        sources[s] = uvSourceOf(map);
    }
    std::vector<DocUV>& cornerUVs = mesh.gathered_corner_uvs[0];
    std::size_t first = 0; // of the polygon's corners in cornerUVs
    for (const DocPolygon& polygon : mesh.polygons) {
        const std::size_t corners = polygon.corners.size();
        first += corners;
        if (!indexIn(polygon.material, sources.size()) || first > cornerUVs.size()) {
            continue;
        }
        const UVSource& source = sources[static_cast<std::size_t>(polygon.material)];
        if (source.points == nullptr) {
            continue;
        }
        DocUV* uv = cornerUVs.data() + (first - corners);
        for (const DocCorner& corner : polygon.corners) {
            const std::int32_t index = corner.uv[0].index;
            if (indexIn(index, source.count)) {
                uv->u = source.points[index][0];
                uv->v = 1.0f - source.points[index][1];
            }
            ++uv;
        }
    }
}

void reverseCornerOrder(DocMesh& mesh) {
    std::vector<DocUV>& cornerUVs = mesh.gathered_corner_uvs[0];
    std::size_t first = 0; // of the polygon's corners in cornerUVs
    for (DocPolygon& polygon : mesh.polygons) {
        const std::size_t n = polygon.corners.size();
        if (n < 2) {
            first += n;
            continue;
        }
        // Corner k's flag is the edge to corner k + 1. Reversed, the edge from
        // new corner k to k + 1 is the one the old corner at new k + 1 began.
        std::reverse(polygon.corners.begin(), polygon.corners.end());
        const std::int32_t firstFlags = polygon.corners[0].flags;
        for (std::size_t k = 0; k + 1 < n; ++k) {
            polygon.corners[k].flags = polygon.corners[k + 1].flags;
        }
        polygon.corners[n - 1].flags = firstFlags;
        if (first + n <= cornerUVs.size()) {
            std::reverse(cornerUVs.begin() + static_cast<std::ptrdiff_t>(first),
                         cornerUVs.begin() + static_cast<std::ptrdiff_t>(first + n));
        }
        first += n;
    }
}

} // namespace exporter
} // namespace yfx
