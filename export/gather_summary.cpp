#include "export/gather_summary.h"

#include "export/export_log.h"

namespace yfx {
namespace exporter {

namespace {

int countOf(std::size_t size) {
    return static_cast<int>(size);
}

} // namespace

void logGatherSummary(const SceneDoc& doc) {
    log_printf(L"NUM_MESHES: %d\n", countOf(doc.meshes.size()));
    for (std::size_t i = 0; i < doc.meshes.size(); ++i) {
        const DocMesh& mesh = doc.meshes[i];
        log_printf(L"MESH: %2d, num_faces: %5d, num_verts: %5d, num_mats: %2d, name: \"%s\"\n",
                   countOf(i), countOf(mesh.polygons.size()), countOf(mesh.vertices.size()),
                   countOf(mesh.surfaces.size()), mesh.name.text);
    }
    log_printf(L"\n");

    log_printf(L"NUM_MESHES: %d\n", countOf(doc.meshes.size()));
    for (std::size_t i = 0; i < doc.meshes.size(); ++i) {
        const DocMesh& mesh = doc.meshes[i];
        for (std::size_t j = 0; j < mesh.surfaces.size(); ++j) {
            const DocSurface& surface = mesh.surfaces[j];
            log_printf(L"MESH: %d, MAT: %2d, num_mat_faces: %5d, mat: \"%s\"\n", countOf(i),
                       countOf(j), surface.face_count, surface.name.text);
        }
        log_printf(L"\n");
    }

    log_printf(L"NUM_BONES: %d\n", countOf(doc.bones.size()));
    for (std::size_t i = 0; i < doc.bones.size(); ++i) {
        const DocBone& bone = doc.bones[i];
        log_printf(L"[%2d] parent_index: %2d, skel: %d, root: %d, joint: %d, name: \"%s\"\n",
                   countOf(i), bone.parent, bone.skeleton, bone.root, bone.joint, bone.name.wide);
    }
    log_printf(L"\n");
}

} // namespace exporter
} // namespace yfx
