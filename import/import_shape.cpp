#include "import/import_shape.h"

#include "compat/qt_compat.h"
#include "import/host_materials.h"
#include "normalise/index_checks.h"

#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzmap.h>
#include <dzobject.h>

#include <memory>

namespace yfx {
namespace importer {

namespace {

using normalise::indexIn;

constexpr int kFaceGroupNameLimit = 259; // the host name buffer of 260 characters

// The mesh's face group index of each group build (duplicate names share
// the first group of that name; a group the mesh cannot make falls back to
// group 0), or, without group builds, the one default group.
std::vector<int> makeFaceGroups(const SceneDoc& doc, const ImportMesh& m, DzFacetMesh& mesh) {
    std::vector<int> index;
    if (doc.group_builds.empty()) {
        const QString name =
            QStringLiteral("DefaultPolyGroup_") + QString::fromWCharArray(m.name.wide);
        mesh.createFaceGroup(name.left(kFaceGroupNameLimit));
        return index;
    }
    index.reserve(doc.group_builds.size());
    for (const DocGroupBuild& build : doc.group_builds) {
        const QString name = QString::fromWCharArray(build.name.wide);
        int at = -1;
        if (mesh.createFaceGroup(name)) {
            at = mesh.getNumFaceGroups() - 1;
        } else {
            mesh.findFaceGroup(name, &at);
        }
        index.push_back(at >= 0 ? at : 0);
    }
    return index;
}

void addUVs(const ImportSession& session, const ImportMesh& m, DzMap& map) {
    const SceneDoc& doc = session.document;
    const DocUVSet* set =
        isOn(session.options.import_uvs) && !doc.uvsets.empty() ? &doc.uvsets[0] : nullptr;
    map.preSize(int(m.corner_uvs.size()));
    for (const std::int32_t uvIndex : m.corner_uvs) {
        DzPnt2 uv = {0.0f, 1.0f};
        if (set != nullptr && indexIn(uvIndex, set->uvs.size())) {
            const DocUV& source = set->uvs[std::size_t(uvIndex)];
            uv[0] = source.u;
            uv[1] = 1.0f - source.v;
        }
        map.appendPnt2Value(uv);
    }
}

void addFacets(const ImportSession& session, const MeshBuild& build, const ImportMesh& m,
               const std::vector<int>& faceGroups, const DzShape& shape, DzFacetMesh& mesh) {
    mesh.preSizeFacets(int(m.faces.size()));
    for (const ImportFace& face : m.faces) {
        mesh.activateMaterial(facetMaterialIndex(session, build, shape, face.material));
        mesh.activateFaceGroup(indexIn(face.face_group, faceGroups.size())
                                   ? faceGroups[std::size_t(face.face_group)]
                                   : 0);
        if (face.corner_count != 3 && face.corner_count != 4) {
            continue;
        }
        int vertices[4] = {-1, -1, -1, -1};
        int uvs[4] = {-1, -1, -1, -1};
        for (int k = 0; k < face.corner_count; ++k) {
            vertices[k] = m.corner_vertices[face.first_corner + std::size_t(k)];
            uvs[k] = int(face.first_corner) + k;
        }
        mesh.addFacet(vertices, uvs, 0);
    }
}

} // namespace

DzFacetShape* addImportShape(const ImportSession& session, MeshBuild& build, const ImportMesh& m,
                             DzObject& object) {
    const QString name = QString::fromWCharArray(m.name.wide);
    auto shape = std::make_unique<DzFacetShape>();
    shape->setName(name);
    shape->setLabel(name);
    auto mesh = std::make_unique<DzFacetMesh>();
    mesh->setName(QStringLiteral("DefaultPoly"));
    auto uvs = std::make_unique<DzMap>(DzMap::FLOAT_MAP);
    uvs->setMapType(DzMap::FLOAT2_MAP, false);

    addShapeMaterials(session, build, *shape, m);
    mesh->beginEdit(true);
    const std::vector<int> faceGroups = makeFaceGroups(session.document, m, *mesh);
    mesh->preSizeVertexArray(int(m.vertices.size()));
    for (const ImportVertex& v : m.vertices) {
        mesh->addVertex(v.position[0], v.position[1], v.position[2]);
    }
    addUVs(session, m, *uvs);
    mesh->setUVList(uvs.release()); // the mesh holds a reference now
    addFacets(session, build, m, faceGroups, *shape, *mesh);
    mesh->finishEdit();
    shape->setFacetMesh(mesh.release());
    if (object.addShape(shape.get(), -1) != DZ_NO_ERROR) {
        return nullptr;
    }
    return shape.release();
}

} // namespace importer
} // namespace yfx
