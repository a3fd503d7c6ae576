#include "normalise/triangulate.h"

#include <limits>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "normalise/index_checks.h"

namespace yfx {
namespace normalise {

namespace {

// The flag a triangle's edge from source corner a to source corner b keeps:
// the source edge's flag when the two corners are neighbours in the source
// polygon (in either direction), else 0 (a hidden inner edge).
std::int32_t edgeFlag(const DocPolygon& source, std::int32_t a, std::int32_t b) {
    const std::int32_t n = source.cornerCount();
    if (b == (a + 1) % n) {
        return source.corners[static_cast<std::uint32_t>(a)].flags;
    }
    if (a == (b + 1) % n) {
        return source.corners[static_cast<std::uint32_t>(b)].flags;
    }
    return 0;
}

// A triangle of the source polygon's corners a[0], a[1], a[2]. Corners hold
// at most four entries inline, so this never allocates.
DocPolygon makeTriangle(const DocPolygon& source, const std::int32_t a[3]) {
    DocPolygon triangle;
    triangle.word2 = source.word2;
    triangle.group = source.group;
    triangle.material = source.material;
    triangle.polygon_value2 = source.polygon_value2;
    triangle.uv_layer_count = source.uv_layer_count;
    for (int j = 0; j < 3; ++j) {
        DocCorner corner = source.corners[static_cast<std::uint32_t>(a[j])];
        corner.flags = edgeFlag(source, a[j], a[(j + 1) % 3]);
        triangle.corners.push_back(corner);
    }
    return triangle;
}

// Number of polygons the mesh's new list holds, or -1 when the mesh has no
// polygon of five or more corners and stays as it is.
std::int64_t newPolygonCount(const DocMesh& mesh) {
    bool split = false;
    std::int64_t total = 0;
    for (const DocPolygon& polygon : mesh.polygons) {
        const std::int64_t n = polygon.cornerCount();
        if (n >= 5) {
            split = true;
        }
        if (n == 4) {
            total += 1;
        } else if (n >= 3) {
            total += n - 2;
        }
    }
    return split ? total : -1;
}

int triangulateMesh(DocMesh& mesh) {
    const std::int64_t total = newPolygonCount(mesh);
    if (total < 0) {
        return 1;
    }
    if (total > std::numeric_limits<std::int32_t>::max()) {
        return 0; // more polygons than a count can hold
    }
    std::vector<DocPolygon> polygons;
    try {
        polygons.reserve(static_cast<std::size_t>(total));
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
    // Room is reserved and no polygon below allocates, so the old list stays
    // whole until the new one is complete.
    for (const DocPolygon& polygon : mesh.polygons) {
        const std::int32_t n = polygon.cornerCount();
        if (n == 3 || n >= 5) {
            for (std::int32_t k = 0; k < n - 2; ++k) {
                std::int32_t a[3];
                stripTriangle(n, k, a);
                polygons.push_back(makeTriangle(polygon, a));
            }
        }
    }
    for (const DocPolygon& polygon : mesh.polygons) {
        if (polygon.cornerCount() == 4) {
            polygons.push_back(polygon);
        }
    }
    DocMesh rebuilt;
    rebuilt.name = mesh.name;
    rebuilt.polygons = std::move(polygons);
    mesh = std::move(rebuilt);
    return 1;
}

} // namespace

void stripTriangle(std::int32_t n, std::int32_t k, std::int32_t out[3]) {
    if (n == 3) {
        out[0] = 0;
        out[1] = 1;
        out[2] = 2;
        return;
    }
    // Pairs of triangles from both ends; triangle 2j is (n-1-j, j, n-2-j) and
    // 2j+1 is (j, j+1, n-2-j). An odd n ends with the single (n-1-K, K, n-2-K)
    // for K = (n-2)/2, which is the first formula again.
    const std::int32_t j = k / 2;
    if (k % 2 == 0) {
        out[0] = n - 1 - j;
        out[1] = j;
        out[2] = n - 2 - j;
    } else {
        out[0] = j;
        out[1] = j + 1;
        out[2] = n - 2 - j;
    }
}

void addGroupAndMaterialUse(SceneDoc& doc) {
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            if (indexIn(polygon.group, doc.groups.size())) {
                doc.groups[static_cast<std::size_t>(polygon.group)].group_value += 1;
            }
            if (indexIn(polygon.material, doc.materials.size())) {
                doc.materials[static_cast<std::size_t>(polygon.material)].face_count += 1;
            }
        }
    }
}

int triangulateMeshes(SceneDoc& doc) {
    if (doc.meshes.empty() || doc.vertices.empty()) {
        return 0;
    }
    for (DocGroup& group : doc.groups) {
        std::vector<DocGroupMember>().swap(group.members);
        group.group_value = 0;
    }
    for (DocMaterial& material : doc.materials) {
        material.face_count = 0;
    }
    int result = 1;
    for (DocMesh& mesh : doc.meshes) {
        if (triangulateMesh(mesh) == 0) {
            result = 0;
        }
    }
    addGroupAndMaterialUse(doc);
    return result;
}

} // namespace normalise
} // namespace yfx
