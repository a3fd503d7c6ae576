#include "normalise/use_counts.h"

#include "normalise/index_checks.h"

namespace yfx {
namespace normalise {

void countBoneWeightReferences(SceneDoc& doc) {
    if (doc.bones.empty() || doc.vertices.empty()) {
        return;
    }
    for (DocBone& bone : doc.bones) {
        bone.weight_references = 0;
    }
    for (const DocVertex& vertex : doc.vertices) {
        for (const DocWeight& weight : vertex.weights) {
            if (indexIn(weight.bone, doc.bones.size())) {
                doc.bones[static_cast<std::size_t>(weight.bone)].weight_references += 1;
            }
        }
    }
}

void countMaterialFaces(SceneDoc& doc) {
    if (doc.materials.empty() || doc.meshes.empty()) {
        return;
    }
    for (DocMaterial& material : doc.materials) {
        material.face_count = 0;
    }
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            if (indexIn(polygon.material, doc.materials.size())) {
                doc.materials[static_cast<std::size_t>(polygon.material)].face_count += 1;
            }
        }
    }
}

void countWeightAndFaceUse(SceneDoc& doc) {
    countBoneWeightReferences(doc);
    countMaterialFaces(doc);
}

} // namespace normalise
} // namespace yfx
