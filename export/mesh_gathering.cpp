#include "export/mesh_gathering.h"

#include <algorithm>

#include <dzenumproperty.h>
#include <dzfacetmesh.h>
#include <dzfigure.h>
#include <dzmaterial.h>
#include <dznode.h>
#include <dzobject.h>
#include <dzscene.h>
#include <dzshape.h>

#include "document/doc_append.h"
#include "export/export_log.h"
#include "export/host_values.h"
#include "export/material_gathering.h"
#include "export/mesh_geometry.h"
#include "export/skin_weight_gathering.h"
#include "normalise/index_checks.h"

namespace yfx {
namespace exporter {

namespace {

bool hasGraftedFigures(const DzNode& node) {
    const auto* figure = qobject_cast<const DzFigure*>(&node);
    return figure != nullptr && figure->graftFigureIterator().hasNext();
}

// The largest UV set index any assembly material of the shape selects.
int largestUVSetInUse(const DzShape& shape) {
    int largest = 0;
    const int count = shape.getNumAssemblyMaterials();
    for (int i = 0; i < count; ++i) {
        const DzMaterial* material = shape.getAssemblyMaterial(i);
        const DzEnumProperty* control = material != nullptr ? material->getUVSetControl() : nullptr;
        largest = std::max(largest, control != nullptr ? control->getValue() : 0);
    }
    return largest;
}

// Weight maps the length check left out are said: one log line with the
// counts, and a mesh left without any weight is named in the end message.
void reportSkippedWeights(ExportSession& session, const DocMesh& mesh,
                          const SkippedWeightMaps& skipped) {
    const bool highResolution = static_cast<std::int64_t>(mesh.vertices.size()) != mesh.mesh_value;
    if (loggingOn(session)) {
        log_printf(L"skin weights left out of \"%s\": weight maps of %lld weights, %smesh of %d "
                   L"vertices, maps left out: %d\n",
                   mesh.name.text, static_cast<long long>(skipped.length),
                   highResolution ? L"high-resolution " : L"",
                   static_cast<int>(mesh.vertices.size()), skipped.maps);
    }
    if (mesh.weights_flag == 0) {
        session.meshes_without_weights.push_back({mesh.name.text, highResolution});
    }
}

// The node's world transform at the time the mesh is taken mirrors it.
bool mirrorsGeometry(const DzNode& node, DzTime time) {
    return nodeTransformAt(node, time).det3() < 0.0f;
}

} // namespace

int gatherMesh(ExportSession& session, DzNode& node, const BoneIndexOfNode& bones) {
    const std::wstring label = wideText(node.getLabel());
    DzObject* object = node.getObject();
    const DzShape* shape = object != nullptr ? object->getCurrentShape() : nullptr;
    const DzGeometry* geometry = shape != nullptr ? shape->getGeometry() : nullptr;
    const auto* shapeMesh = qobject_cast<const DzFacetMesh*>(geometry);
    if (shapeMesh == nullptr) {
        return 1;
    }
    SceneDoc& doc = session.document;
    if (addMesh(doc) == nullptr) {
        return 0;
    }
    const auto meshIndex = static_cast<std::int32_t>(doc.meshes.size() - 1);
    DocMesh& mesh = doc.meshes.back();
    mesh.host_node = &node;
    mesh.name.set(label.c_str());
    if (normalise::indexIn(session.node_counter, doc.bones.size())) {
        doc.bones[static_cast<std::size_t>(session.node_counter)].mesh = meshIndex;
    }

    node.finalize(false, true);
    if (hasGraftedFigures(node)) {
        mesh.graft_flag = 1;
    }
    // Polygons and UVs from the cached geometry: its UV map is the UV set the
    // materials select, and it is the high-resolution mesh when there is one.
    const DzVertexMesh* cached = object->getCachedGeom();
    const DzFacetMesh* polygonSource = shapeMesh;
    bool fromCache = false;
    if (isOn(session.options.export_high_resmesh) || largestUVSetInUse(*shape) >= 1) {
        if (const auto* cachedMesh = qobject_cast<const DzFacetMesh*>(cached)) {
            polygonSource = cachedMesh;
            fromCache = true;
        }
    }

    if (gatherMaterials(session, *shape, mesh) == 0 ||
        gatherMeshVertices(mesh, *geometry, cached) == 0 ||
        gatherMeshPolygons(mesh, *polygonSource) == 0) {
        return 0;
    }
    gatherMeshUVs(mesh, *polygonSource, fromCache);
    // A figure's mesh is placed by the figure node itself, so one test covers
    // props and skinned meshes alike.
    if (dzScene != nullptr && mirrorsGeometry(node, dzScene->getTime())) {
        reverseCornerOrder(mesh);
    }
    SkippedWeightMaps skipped;
    const int result = gatherSkinWeights(node, mesh, bones, skipped);
    if (skipped.maps > 0) {
        reportSkippedWeights(session, mesh, skipped);
    }
    return result;
}

} // namespace exporter
} // namespace yfx
