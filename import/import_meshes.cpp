#include "import/import_meshes.h"

#include "normalise/index_checks.h"

namespace yfx {
namespace importer {

using normalise::indexIn;

std::int32_t addUniqueVertex(VertexBuckets& buckets, std::vector<ImportVertex>& vertices,
                             std::int64_t sourceIndex, const ImportVertex& vertex) {
    const bool tabled = sourceIndex >= 0 && std::uint64_t(sourceIndex) < buckets.index_.size();
    if (tabled) {
        const std::size_t at = std::size_t(sourceIndex);
        if (buckets.stamp_[at] == buckets.current_) {
            return buckets.index_[at];
        }
    }
    const std::int32_t index = static_cast<std::int32_t>(vertices.size());
    vertices.push_back(vertex);
    if (tabled) {
        const std::size_t at = std::size_t(sourceIndex);
        buckets.stamp_[at] = buckets.current_;
        buckets.index_[at] = index;
    }
    return index;
}

namespace {

struct PolygonRef {
    std::int32_t mesh;
    std::int32_t polygon;
};

bool cornersInPool(const DocPolygon& polygon, std::size_t poolSize) {
    if (polygon.corners.size() == 0) {
        return false;
    }
    for (const DocCorner& corner : polygon.corners) {
        if (!indexIn(corner.vertex, poolSize)) {
            return false;
        }
    }
    return true;
}

ImportVertex importVertexOf(const SceneDoc& doc, std::int32_t source) {
    const DocVertex& v = doc.vertices[std::size_t(source)];
    ImportVertex out;
    out.source_index = source;
    for (int k = 0; k < 3; ++k) {
        out.position[k] = v.position[k];
        out.normal[k] = v.normal[k];
    }
    for (int k = 0; k < 4; ++k) {
        out.colour[k] = v.colour[k];
    }
    return out;
}

void addFace(const SceneDoc& doc, VertexBuckets& buckets, const PolygonRef& ref, ImportMesh& m) {
    const DocPolygon& polygon =
        doc.meshes[std::size_t(ref.mesh)].polygons[std::size_t(ref.polygon)];
    ImportFace face;
    face.polygon_index = ref.polygon;
    face.face_group = polygon.word2;
    face.corner_count = polygon.cornerCount();
    face.material = polygon.material;
    face.first_corner = m.corner_vertices.size();
    for (const DocCorner& corner : polygon.corners) {
        m.corner_vertices.push_back(addUniqueVertex(buckets, m.vertices, corner.vertex,
                                                    importVertexOf(doc, corner.vertex)));
        m.corner_uvs.push_back(corner.uv[0].index);
    }
    m.faces.push_back(face);
}

} // namespace

std::vector<ImportMesh> buildImportMeshes(const SceneDoc& doc) {
    const std::size_t groupCount = doc.groups.size();
    std::vector<ImportMesh> meshes(groupCount);
    for (std::size_t g = 0; g < groupCount; ++g) {
        meshes[g].name = doc.groups[g].name;
    }
    // The usable polygons sorted by group, keeping polygon order within a
    // group (a counting sort), so that each group is built in one run.
    std::vector<std::size_t> start(groupCount + 1, 0);
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            if (indexIn(polygon.group, groupCount) && cornersInPool(polygon, doc.vertices.size())) {
                ++start[std::size_t(polygon.group) + 1];
            }
        }
    }
    for (std::size_t g = 0; g < groupCount; ++g) {
        start[g + 1] += start[g];
    }
    std::vector<PolygonRef> sorted(start[groupCount]);
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (std::size_t m = 0; m < doc.meshes.size(); ++m) {
        const std::vector<DocPolygon>& polygons = doc.meshes[m].polygons;
        for (std::size_t p = 0; p < polygons.size(); ++p) {
            if (indexIn(polygons[p].group, groupCount) &&
                cornersInPool(polygons[p], doc.vertices.size())) {
                sorted[next[std::size_t(polygons[p].group)]++] =
                    PolygonRef{std::int32_t(m), std::int32_t(p)};
            }
        }
    }
    VertexBuckets buckets(doc.vertices.size());
    for (std::size_t g = 0; g < groupCount; ++g) {
        buckets.startMesh();
        ImportMesh& mesh = meshes[g];
        mesh.faces.reserve(start[g + 1] - start[g]);
        for (std::size_t i = start[g]; i < start[g + 1]; ++i) {
            addFace(doc, buckets, sorted[i], mesh);
        }
    }
    return meshes;
}

} // namespace importer
} // namespace yfx
