#include "prepare/vertex_pool.h"

#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "document/doc_alloc.h"
#include "document/doc_append.h"
#include "normalise/index_checks.h"

namespace yfx {
namespace prepare {

namespace {

using normalise::indexIn;

// index + offset when index names one of count elements; -1 otherwise. An
// index outside its own mesh's list is never shifted, since the shifted value
// would name an element of another mesh.
std::int32_t shifted(std::int32_t index, std::size_t count, std::size_t offset) {
    return indexIn(index, count) ? static_cast<std::int32_t>(offset + std::size_t(index)) : -1;
}

// Removes the mesh's unused vertices; the kept ones end without the mark.
// Corners that name no vertex of the mesh are left out of the marking and end
// as -1 once the list is renumbered. Returns the number removed; throws
// std::bad_alloc before anything but the marks has changed.
std::int64_t compactVerticesOf(DocMesh& mesh) {
    std::vector<DocVertex>& vertices = mesh.vertices;
    const std::size_t count = vertices.size();
    for (DocVertex& vertex : vertices) {
        vertex.vertex_word |= kVertexUnusedMark;
    }
    for (const DocPolygon& polygon : mesh.polygons) {
        for (const DocCorner& corner : polygon.corners) {
            if (indexIn(corner.vertex, count)) {
                vertices[static_cast<std::size_t>(corner.vertex)].vertex_word &= ~kVertexUnusedMark;
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
        return 0; // every vertex is used and has lost the mark again
    }
    if (unused == count) {
        // No corner names a vertex of the mesh, so none can keep a vertex.
        std::vector<DocVertex>().swap(vertices);
        for (DocPolygon& polygon : mesh.polygons) {
            for (DocCorner& corner : polygon.corners) {
                corner.vertex = -1;
            }
        }
        return static_cast<std::int64_t>(unused);
    }

    // Both new blocks are complete before any vertex moves.
    std::vector<std::int32_t> newIndex(count, -1);
    std::vector<DocVertex> kept;
    kept.reserve(count - unused);
    for (std::size_t i = 0; i < count; ++i) {
        if ((vertices[i].vertex_word & kVertexUnusedMark) == 0) {
            newIndex[i] = static_cast<std::int32_t>(kept.size());
            kept.push_back(std::move(vertices[i])); // no allocation: room reserved
        }
    }
    for (DocPolygon& polygon : mesh.polygons) {
        for (DocCorner& corner : polygon.corners) {
            corner.vertex = indexIn(corner.vertex, count)
                                ? newIndex[static_cast<std::size_t>(corner.vertex)]
                                : -1;
        }
    }
    vertices = std::move(kept);
    return static_cast<std::int64_t>(unused);
}

// Steps 1 to 3 of the pool: every mesh's vertices into the document's pool,
// corner vertex indices made pool-wide. Returns false when the pool cannot
// be allocated (nothing changed then but the pool, which is empty).
bool poolVertices(SceneDoc& doc) {
    std::size_t total = 0;
    for (const DocMesh& mesh : doc.meshes) {
        total += mesh.vertices.size();
    }
    if (total > static_cast<std::size_t>(INT32_MAX)) {
        return false; // pool indices are 32-bit
    }
    if (!allocateVertices(doc, static_cast<std::int32_t>(total))) {
        return false;
    }
    std::size_t offset = 0;
    for (DocMesh& mesh : doc.meshes) {
        const std::size_t count = mesh.vertices.size();
        for (std::size_t i = 0; i < count; ++i) {
            DocVertex& from = mesh.vertices[i];
            DocVertex& to = doc.vertices[offset + i];
            for (int k = 0; k < 3; ++k) {
                to.position[k] = from.position[k];
                to.normal[k] = from.normal[k];
            }
            for (int k = 0; k < 4; ++k) {
                to.colour[k] = from.colour[k];
            }
            // The pool vertex receives bone and weight of every entry; the
            // list itself moves rather than being copied entry by entry.
            to.weights = std::move(from.weights);
            for (DocWeight& weight : to.weights) {
                weight.contributions = 0;
            }
        }
        // A corner naming no vertex of its mesh becomes -1 instead of being
        // shifted onto a vertex of another mesh.
        for (DocPolygon& polygon : mesh.polygons) {
            for (DocCorner& corner : polygon.corners) {
                corner.vertex = shifted(corner.vertex, count, offset);
            }
        }
        offset += count;
        std::vector<DocVertex>().swap(mesh.vertices);
    }
    return true;
}

// Step 4: one group per mesh, named after it; every polygon takes its mesh's
// group as group and word 2.
bool addMeshGroups(SceneDoc& doc) {
    const std::size_t first = doc.groups.size();
    if (first + doc.meshes.size() > static_cast<std::size_t>(INT32_MAX)) {
        return false;
    }
    try {
        doc.groups.reserve(first + doc.meshes.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        if (addGroup(doc, doc.meshes[m].name.text) == nullptr) {
            return false;
        }
        const std::int32_t group = static_cast<std::int32_t>(first + m);
        for (DocPolygon& polygon : doc.meshes[m].polygons) {
            polygon.group = group;
            polygon.word2 = group;
        }
    }
    return true;
}

struct MergedSizes {
    std::size_t polygons = 0;
    std::size_t colours = 0;
    std::size_t uvs[kPolygonUVLayers] = {0, 0};
};

const DocUVSet* uvSetOf(const DocMesh& mesh, int k) {
    return static_cast<std::size_t>(k) < mesh.uvsets.size() ? &mesh.uvsets[std::size_t(k)]
                                                            : nullptr;
}

std::size_t uvCountOf(const DocMesh& mesh, int k) {
    const DocUVSet* set = uvSetOf(mesh, k);
    return set != nullptr ? set->uvs.size() : 0;
}

// Steps 6 to 9: all meshes become one "YFXMesh0". Every block of the new mesh
// is allocated before anything moves, so a failure leaves the meshes as
// they were.
void mergeMeshes(SceneDoc& doc) {
    MergedSizes sizes;
    for (const DocMesh& mesh : doc.meshes) {
        sizes.polygons += mesh.polygons.size();
        sizes.colours += mesh.colours.size();
        for (int k = 0; k < kPolygonUVLayers; ++k) {
            sizes.uvs[k] += uvCountOf(mesh, k);
        }
    }
    if (sizes.colours > static_cast<std::size_t>(INT32_MAX) ||
        sizes.uvs[0] > static_cast<std::size_t>(INT32_MAX) ||
        sizes.uvs[1] > static_cast<std::size_t>(INT32_MAX)) {
        return;
    }

    SceneDoc scratch;
    DocMesh* merged = addMesh(scratch); // named "YFXMesh0"
    if (merged == nullptr || !allocateMeshUVSets(*merged, kPolygonUVLayers, 0)) {
        return;
    }
    try {
        merged->polygons.reserve(sizes.polygons);
        merged->colours.reserve(sizes.colours);
        for (int k = 0; k < kPolygonUVLayers; ++k) {
            merged->uvsets[std::size_t(k)].uvs.reserve(sizes.uvs[k]);
        }
    } catch (const std::bad_alloc&) {
        return;
    } catch (const std::length_error&) {
        return;
    }

    std::size_t colourOffset = 0;
    std::size_t uvOffset[kPolygonUVLayers] = {0, 0};
    for (DocMesh& mesh : doc.meshes) {
        const std::size_t colours = mesh.colours.size();
        const std::size_t uvs[kPolygonUVLayers] = {uvCountOf(mesh, 0), uvCountOf(mesh, 1)};
        for (DocPolygon& polygon : mesh.polygons) {
            for (DocCorner& corner : polygon.corners) {
                corner.index2 = shifted(corner.index2, colours, colourOffset);
                for (int k = 0; k < kPolygonUVLayers; ++k) {
                    corner.uv[k].index = shifted(corner.uv[k].index, uvs[k], uvOffset[k]);
                }
            }
            merged->polygons.push_back(std::move(polygon)); // no allocation: room reserved
        }
        merged->colours.insert(merged->colours.end(), mesh.colours.begin(), mesh.colours.end());
        for (int k = 0; k < kPolygonUVLayers; ++k) {
            const DocUVSet* set = uvSetOf(mesh, k);
            if (set != nullptr) {
                std::vector<DocUV>& to = merged->uvsets[std::size_t(k)].uvs;
                to.insert(to.end(), set->uvs.begin(), set->uvs.end());
            }
            uvOffset[k] += uvs[k];
        }
        colourOffset += colours;
    }
    doc.meshes = std::move(scratch.meshes); // the old meshes go with everything they held
}

} // namespace

std::int64_t compactMeshVertices(SceneDoc& doc) {
    std::int64_t removed = 0;
    for (DocMesh& mesh : doc.meshes) {
        if (mesh.vertices.empty()) {
            continue;
        }
        try {
            removed += compactVerticesOf(mesh);
        } catch (const std::bad_alloc&) {
            // This mesh keeps its vertices, none of them marked; the pass ends here.
            for (DocVertex& vertex : mesh.vertices) {
                vertex.vertex_word &= ~kVertexUnusedMark;
            }
            break;
        }
    }
    return removed;
}

void buildVertexPool(SceneDoc& doc) {
    if (!poolVertices(doc) || !addMeshGroups(doc) || doc.meshes.size() < 2) {
        return;
    }
    mergeMeshes(doc);
}

} // namespace prepare
} // namespace yfx
