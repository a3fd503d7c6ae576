#include "import/merge_meshes.h"

#include <new>
#include <utility>

namespace yfx {
namespace importer {

void mergeMeshes(SceneDoc& doc) {
    if (doc.meshes.size() < 2) {
        return;
    }
    std::vector<DocMesh> merged;
    try {
        std::size_t total = 0;
        for (const DocMesh& mesh : doc.meshes) {
            total += mesh.polygons.size();
        }
        merged.resize(1);
        merged[0].name.set(L"YFXMesh0");
        merged[0].polygons.reserve(total);
    } catch (const std::bad_alloc&) {
        return;
    }
    // Nothing below allocates: the polygons move into reserved room.
    for (DocMesh& mesh : doc.meshes) {
        for (DocPolygon& polygon : mesh.polygons) {
            merged[0].polygons.push_back(std::move(polygon));
        }
    }
    doc.meshes = std::move(merged);
}

} // namespace importer
} // namespace yfx
