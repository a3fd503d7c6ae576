#include "document/doc_clear.h"

#include <vector>

namespace yfx {

namespace {

// Gives the array's block back (clear() alone would keep the capacity).
template <typename T> void freeArray(std::vector<T>& array) {
    std::vector<T>().swap(array);
}

} // namespace

void clearDocument(SceneDoc& doc) {
    freeArray(doc.surfaces);
    freeArray(doc.group_builds);
    freeArray(doc.lights);
    freeArray(doc.cameras);
    freeArray(doc.groups);
    freeArray(doc.bones);
    freeArray(doc.materials);
    freeArray(doc.vertices);
    freeArray(doc.face_links);
    freeArray(doc.uvsets);
    freeArray(doc.animations);
    freeArray(doc.meshes);
    for (int i = 0; i < kSectionCount; ++i) {
        doc.section_counts[i] = 0;
        doc.section_offsets[i] = 0;
    }
    doc.legacy_uv_count = 0;
}

} // namespace yfx
