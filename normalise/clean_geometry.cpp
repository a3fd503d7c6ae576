#include "normalise/clean_geometry.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "document/doc_append.h"
#include "normalise/index_checks.h"

namespace yfx {
namespace normalise {

namespace {

// Polygons up to this many corners are checked pair by pair; larger ones
// through a sorted copy, so that one huge polygon costs n log n, not n^2.
constexpr std::uint32_t kPairwiseCornerLimit = 16;

// True when some vertex of the pool is named by two corners of the polygon.
// scratch is reused between calls; it may throw std::bad_alloc.
bool hasRepeatedCorner(const DocPolygon& polygon, std::size_t vertexCount,
                       std::vector<std::int32_t>& scratch) {
    const DocCornerList& corners = polygon.corners;
    if (corners.size() <= kPairwiseCornerLimit) {
        for (std::uint32_t i = 0; i < corners.size(); ++i) {
            const std::int32_t v = corners[i].vertex;
            if (!indexIn(v, vertexCount)) {
                continue;
            }
            for (std::uint32_t j = i + 1; j < corners.size(); ++j) {
                if (corners[j].vertex == v) {
                    return true;
                }
            }
        }
        return false;
    }
    scratch.clear();
    for (const DocCorner& corner : corners) {
        if (indexIn(corner.vertex, vertexCount)) {
            scratch.push_back(corner.vertex);
        }
    }
    std::sort(scratch.begin(), scratch.end());
    return std::adjacent_find(scratch.begin(), scratch.end()) != scratch.end();
}

void discardFaceLinks(SceneDoc& doc) {
    std::vector<DocFaceLink>().swap(doc.face_links);
    for (DocUVSet& set : doc.uvsets) {
        std::vector<DocFaceLink>().swap(set.links);
    }
    for (DocMesh& mesh : doc.meshes) {
        for (DocUVSet& set : mesh.uvsets) {
            std::vector<DocFaceLink>().swap(set.links);
        }
    }
}

} // namespace

std::int64_t removeUnreferencedVertices(SceneDoc& doc) {
    std::vector<DocVertex>& vertices = doc.vertices;
    const std::size_t count = vertices.size();
    if (count == 0 || doc.meshes.empty()) {
        return 0;
    }
    for (DocVertex& vertex : vertices) {
        vertex.vertex_word |= kVertexUnusedMark;
    }
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            for (const DocCorner& corner : polygon.corners) {
                if (indexIn(corner.vertex, count)) {
                    vertices[static_cast<std::size_t>(corner.vertex)].vertex_word &=
                        ~kVertexUnusedMark;
                }
            }
        }
    }
    std::size_t unused = 0;
    for (const DocVertex& vertex : vertices) {
        if ((vertex.vertex_word & kVertexUnusedMark) != 0) {
            ++unused;
        }
    }
    if (unused == 0) {
        return 0;
    }
    if (unused == count) {
        std::vector<DocVertex>().swap(vertices);
        return static_cast<std::int64_t>(unused);
    }

    // Both new blocks are complete before anything of the old array moves.
    std::vector<std::int32_t> newIndex;
    std::vector<DocVertex> kept;
    try {
        newIndex.resize(count);
        kept.reserve(count - unused);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if ((vertices[i].vertex_word & kVertexUnusedMark) != 0) {
            newIndex[i] = -1;
        } else {
            newIndex[i] = static_cast<std::int32_t>(kept.size());
            kept.push_back(std::move(vertices[i])); // no allocation: room reserved
        }
    }
    for (DocMesh& mesh : doc.meshes) {
        for (DocPolygon& polygon : mesh.polygons) {
            for (DocCorner& corner : polygon.corners) {
                if (indexIn(corner.vertex, count)) {
                    corner.vertex = newIndex[static_cast<std::size_t>(corner.vertex)];
                }
            }
        }
    }
    vertices = std::move(kept);
    return static_cast<std::int64_t>(unused);
}

std::int64_t removeRepeatedCornerPolygons(SceneDoc& doc) {
    if (doc.meshes.size() != 1) {
        return 0;
    }
    std::vector<DocPolygon>& polygons = doc.meshes[0].polygons;
    const std::size_t vertexCount = doc.vertices.size();
    std::size_t marked = 0;
    try {
        std::vector<std::int32_t> scratch;
        for (DocPolygon& polygon : polygons) {
            polygon.polygon_word &= ~kPolygonRepeatedCornerMark;
            if (hasRepeatedCorner(polygon, vertexCount, scratch)) {
                polygon.polygon_word |= kPolygonRepeatedCornerMark;
                ++marked;
            }
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (marked == 0) {
        return 0;
    }
    const std::size_t remaining = polygons.size() - marked;
    if (remaining == 0) {
        std::vector<DocMesh>().swap(doc.meshes);
        return static_cast<std::int64_t>(marked);
    }

    // The replacement mesh comes from the document operation, on a scratch
    // document so that a failure leaves this one untouched.
    SceneDoc scratch;
    DocMesh* mesh = addMesh(scratch);
    if (mesh == nullptr) {
        return -1;
    }
    try {
        mesh->polygons.reserve(remaining);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    for (DocPolygon& polygon : polygons) {
        if ((polygon.polygon_word & kPolygonRepeatedCornerMark) == 0) {
            mesh->polygons.push_back(std::move(polygon)); // no allocation: room reserved
        }
    }
    doc.meshes = std::move(scratch.meshes);
    return static_cast<std::int64_t>(marked);
}

int cleanGeometry(SceneDoc& doc) {
    if (doc.vertices.empty() || doc.meshes.empty()) {
        return 0;
    }
    const std::int64_t vertices = removeUnreferencedVertices(doc);
    const std::int64_t polygons = removeRepeatedCornerPolygons(doc);
    if (vertices > 0 || polygons > 0) {
        discardFaceLinks(doc);
    }
    return vertices < 0 || polygons < 0 ? 0 : 1;
}

} // namespace normalise
} // namespace yfx
