// What a successful load guarantees beyond the file's own consistency: no
// polygon names a vertex outside the vertex pool. Such polygons (among them
// those with fewer than three corners in the file, whose missing corners have
// no vertex) are dropped, so the passes that follow every corner's vertex
// index never leave the pool.
#include <cstddef>
#include <utility>

#include "format/reader_sections.h"

namespace yfx {

namespace {

bool cornersInPool(const DocPolygon& p, std::size_t poolSize) {
    if (p.corners.empty()) {
        return false;
    }
    for (const DocCorner& corner : p.corners) {
        if (corner.vertex < 0 || static_cast<std::size_t>(corner.vertex) >= poolSize) {
            return false;
        }
    }
    return true;
}

} // namespace

std::int64_t dropPolygonsWithBadCorners(SceneDoc& doc) {
    const std::size_t pool = doc.vertices.size();
    std::int64_t dropped = 0;
    for (DocMesh& mesh : doc.meshes) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < mesh.polygons.size(); ++i) {
            if (!cornersInPool(mesh.polygons[i], pool)) {
                ++dropped;
                continue;
            }
            if (kept != i) {
                mesh.polygons[kept] = std::move(mesh.polygons[i]);
            }
            ++kept;
        }
        mesh.polygons.erase(mesh.polygons.begin() + static_cast<std::ptrdiff_t>(kept),
                            mesh.polygons.end());
    }
    return dropped;
}

} // namespace yfx
