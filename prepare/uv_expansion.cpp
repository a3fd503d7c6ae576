#include "prepare/uv_expansion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include "document/doc_alloc.h"
#include "normalise/index_checks.h"

namespace yfx {
namespace prepare {

using normalise::indexIn;

namespace {

// Total corners of the mesh's polygons, or -1 when the running per-corner UV
// index would not fit its 32-bit field.
std::int64_t totalCorners(const DocMesh& mesh) {
    std::int64_t total = 0;
    for (const DocPolygon& polygon : mesh.polygons) {
        total += polygon.corners.size();
        if (total > std::numeric_limits<std::int32_t>::max()) {
            return -1;
        }
    }
    return total;
}

// True when set k can be reached through the polygons' UV layers.
bool isLayeredSet(const DocMesh& mesh, std::int32_t k) {
    return indexIn(k, mesh.uvsets.size()) && k < kPolygonUVLayers;
}

// The corners of one UV set grouped by material: the UV indices named by the
// corners of material m's polygons are uv[start[m], start[m + 1]), in polygon
// and corner order. Corners whose material or UV index is outside the mesh's
// surfaces or the set are left out.
struct CornersByMaterial {
    std::vector<std::size_t> start;
    std::vector<std::int32_t> uv;
};

// Counting sort of the corners by material; may throw std::bad_alloc.
void groupCorners(const DocMesh& mesh, std::int32_t k, CornersByMaterial& out) {
    const std::size_t materials = mesh.surfaces.size();
    const std::size_t uvCount = mesh.uvsets[static_cast<std::size_t>(k)].uvs.size();
    out.start.assign(materials + 1, 0);
    out.uv.clear();
    if (k >= kPolygonUVLayers) {
        return; // polygons have no UV layer for this set: no corner names its UVs
    }
    for (const DocPolygon& polygon : mesh.polygons) {
        if (!indexIn(polygon.material, materials)) {
            continue;
        }
        for (const DocCorner& corner : polygon.corners) {
            if (indexIn(corner.uv[k].index, uvCount)) {
                ++out.start[static_cast<std::size_t>(polygon.material) + 1];
            }
        }
    }
    for (std::size_t m = 0; m < materials; ++m) {
        out.start[m + 1] += out.start[m];
    }
    out.uv.resize(out.start[materials]);
    // Fill through one cursor per material; the starts stay as they are.
    std::vector<std::size_t> cursor(out.start.begin(), out.start.end() - 1);
    for (const DocPolygon& polygon : mesh.polygons) {
        if (!indexIn(polygon.material, materials)) {
            continue;
        }
        std::size_t& next = cursor[static_cast<std::size_t>(polygon.material)];
        for (const DocCorner& corner : polygon.corners) {
            if (indexIn(corner.uv[k].index, uvCount)) {
                out.uv[next++] = corner.uv[k].index;
            }
        }
    }
}

// Moves material after material, in increasing order and on the values the
// earlier materials left, by the whole tiles that bring the centre of its u
// range into [0, 1). A UV named by several corners of one material moves once
// for that material; a UV named by two materials moves for each. Afterwards
// kUVTileMark is set on exactly the UVs the last material names.
void collapseSetTiles(DocMesh& mesh, std::int32_t k, std::vector<SpannedTiles>& spanned) {
    const std::size_t materials = mesh.surfaces.size();
    std::vector<DocUV>& uvs = mesh.uvsets[static_cast<std::size_t>(k)].uvs;
    if (materials == 0 || uvs.empty()) {
        return;
    }
    CornersByMaterial groups;
    std::vector<std::size_t> seenBy; // the last material that gathered each UV, + 1
    try {
        groupCorners(mesh, k, groups);
        seenBy.assign(uvs.size(), 0);
    } catch (const std::bad_alloc&) {
        return; // the set stays as it was
    }
    for (std::size_t m = 0; m < materials; ++m) {
        const std::size_t first = groups.start[m];
        const std::size_t last = groups.start[m + 1];
        if (first == last) {
            continue;
        }
        float minU = std::numeric_limits<float>::max();
        float maxU = std::numeric_limits<float>::lowest();
        for (std::size_t i = first; i < last; ++i) {
            const std::size_t uv = static_cast<std::size_t>(groups.uv[i]);
            const float u = uvs[uv].u;
            if (u < minU) {
                minU = u;
            }
            if (u > maxU) {
                maxU = u;
            }
            seenBy[uv] = m + 1;
        }
        const float centre = (maxU + minU) * 0.5f;
        const float shift = std::floor(centre);
        // An infinite u makes the centre infinite, and moving by it would
        // turn the surface's UVs into infinities and NaNs: leave it alone.
        if (!std::isfinite(shift) || !(shift > 0.0f)) {
            continue;
        }
        // More than one tile: from the tile of its smallest u past the one
        // its largest u ends (a u on a tile's edge closes that tile).
        if (std::floor(minU) < std::ceil(maxU) - 1.0f) {
            spanned.push_back({mesh.name.text, mesh.surfaces[m].name.text, k, minU, maxU, shift});
        }
        for (std::size_t i = first; i < last; ++i) {
            const std::size_t uv = static_cast<std::size_t>(groups.uv[i]);
            if (seenBy[uv] == m + 1) {
                uvs[uv].u -= shift;
                seenBy[uv] = 0; // moved; later corners naming it leave it alone
            }
        }
    }
    for (DocUV& uv : uvs) {
        uv.uv_word &= ~kUVTileMark;
    }
    for (std::size_t i = groups.start[materials - 1]; i < groups.start[materials]; ++i) {
        uvs[static_cast<std::size_t>(groups.uv[i])].uv_word |= kUVTileMark;
    }
}

} // namespace

int expandUVSet(DocMesh& mesh, std::int32_t k, int fromCorners) {
    // Only sets 0 and 1 have a UV layer in every polygon.
    if (!isLayeredSet(mesh, k) || mesh.vertices.empty()) {
        return 0;
    }
    DocUVSet& set = mesh.uvsets[static_cast<std::size_t>(k)];
    const bool corners = fromCorners == 1;
    if (!corners && set.uvs.empty()) {
        return 1;
    }
    const std::int64_t total = totalCorners(mesh);
    if (total <= 0) {
        return 0;
    }
    const std::size_t count = static_cast<std::size_t>(total);
    std::vector<DocUV>& gathered = mesh.gathered_corner_uvs[k];
    std::vector<DocUV> expanded;
    if (corners && gathered.size() == count) {
        expanded.swap(gathered); // already one UV per corner, in corner order
    } else {
        try {
            expanded.resize(count);
        } catch (const std::bad_alloc&) {
            return 0;
        }
        // From the corners, UVs gathering did not reach stay zero.
        if (corners) {
            std::copy(gathered.begin(), gathered.begin() + std::min(gathered.size(), count),
                      expanded.begin());
        }
    }
    std::int32_t n = 0;
    for (DocPolygon& polygon : mesh.polygons) {
        for (DocCorner& corner : polygon.corners) {
            DocCornerUV& layer = corner.uv[k];
            if (!corners) {
                const std::int32_t from = indexIn(layer.index, set.uvs.size()) ? layer.index : 0;
                expanded[static_cast<std::size_t>(n)] = set.uvs[static_cast<std::size_t>(from)];
            }
            layer.index = n++;
        }
    }
    set.uvs.swap(expanded);
    if (corners) {
        std::vector<DocUV>().swap(gathered); // consumed: the set holds the UVs now
    }
    return 1;
}

void expandMeshUVs(SceneDoc& doc) {
    for (DocMesh& mesh : doc.meshes) {
        if (!mesh.uvsets.empty() || allocateMeshUVSets(mesh, 2, 0) != 0) {
            const std::int32_t sets = static_cast<std::int32_t>(mesh.uvsets.size());
            for (std::int32_t k = 0; k < sets; ++k) {
                expandUVSet(mesh, k, 1);
            }
        }
        // Nothing reads them after this pass, whether or not a set took them.
        for (std::vector<DocUV>& gathered : mesh.gathered_corner_uvs) {
            std::vector<DocUV>().swap(gathered);
        }
    }
}

std::vector<SpannedTiles> collapseUVTiles(SceneDoc& doc) {
    std::vector<SpannedTiles> spanned;
    for (DocMesh& mesh : doc.meshes) {
        if (mesh.uvsets.empty() && allocateMeshUVSets(mesh, 2, 0) == 0) {
            continue;
        }
        const std::int32_t sets = static_cast<std::int32_t>(mesh.uvsets.size());
        for (std::int32_t k = 0; k < sets; ++k) {
            if (!mesh.uvsets[static_cast<std::size_t>(k)].uvs.empty()) {
                expandUVSet(mesh, k, 0);
            }
        }
        for (std::int32_t k = 0; k < sets; ++k) {
            collapseSetTiles(mesh, k, spanned);
        }
    }
    return spanned;
}

} // namespace prepare
} // namespace yfx
