// Shared by the import tests: the host application for the whole run, a
// fresh scene per test, documents as a load leaves them (built and
// normalised) or as the writer writes them, and the build step run on them
// as the read step runs it after loading.
#pragma once

#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzmap.h>
#include <dznode.h>
#include <dzobject.h>
#include <dzscene.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "document/scene_doc.h"
#include "format/byte_sink.h"
#include "format/file_layout.h"
#include "format/load_file.h"
#include "format/test_scene.h"
#include "format/writer_v31.h"
#include "import/import_build.h"
#include "import/import_scale.h"
#include "import/import_session.h"
#include "normalise/post_parse.h"
#include "plugin/plugin_test_support.h"

namespace importtest {

using yfx::importer::ImportOptions;

constexpr const wchar_t* kSourcePath = L"C:\\scenes\\Robot.yfx";

// Every option on except groups (which would turn joints and animation off).
inline ImportOptions everyOption() {
    ImportOptions o;
    o.import_lights = o.import_materials = o.import_uvs = o.import_uvsets = 1;
    o.import_joints = o.import_animation = 1;
    o.import_scale_factor = 1.0f;
    return o;
}

// The stream the current writer makes of the document.
inline std::vector<std::uint8_t> writtenBytes(const yfx::SceneDoc& doc) {
    yfx::MemorySink sink;
    yfx::FileHeader header;
    EXPECT_EQ(1, yfx::writeDocument(doc, yfx_test::allOptions(), sink, header));
    return sink.release();
}

// A document built in the test, normalised as a load leaves it.
inline yfx::SceneDoc normalised(yfx::SceneDoc doc) {
    yfx::normalise::runPostParsePasses(doc);
    return doc;
}

inline void addVertex(yfx::SceneDoc& doc, float x, float y, float z) {
    yfx::DocVertex v;
    v.position[0] = x;
    v.position[1] = y;
    v.position[2] = z;
    doc.vertices.push_back(v);
}

// A polygon of the first mesh (made when missing) with the given corners;
// corner k's first-layer UV index is firstUV + k, or -1 when firstUV is -1.
inline yfx::DocPolygon& addPolygon(yfx::SceneDoc& doc, std::initializer_list<int> vertices,
                                   int group, int material = -1, int firstUV = -1) {
    if (doc.meshes.empty()) {
        doc.meshes.resize(1);
    }
    yfx::DocPolygon p;
    p.group = p.word2 = group;
    p.material = material;
    int k = 0;
    for (int v : vertices) {
        yfx::DocCorner corner;
        corner.vertex = v;
        corner.uv[0].index = firstUV < 0 ? -1 : firstUV + k;
        p.corners.push_back(corner);
        ++k;
    }
    doc.meshes[0].polygons.push_back(std::move(p));
    return doc.meshes[0].polygons.back();
}

inline void addGroups(yfx::SceneDoc& doc, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        doc.groups.emplace_back();
        doc.groups.back().name.setAnsi(name);
    }
}

inline yfx::DocBone& addBone(yfx::SceneDoc& doc, const char* name, int parent, float x, float y,
                             float z) {
    doc.bones.emplace_back();
    yfx::DocBone& bone = doc.bones.back();
    bone.name.setAnsi(name);
    bone.parent = parent;
    bone.position[0] = x;
    bone.position[1] = y;
    bone.position[2] = z;
    return bone;
}

inline DzFacetMesh* facetMeshOf(const DzNode* node) {
    if (node == nullptr || node->getObject() == nullptr) {
        return nullptr;
    }
    auto* shape = qobject_cast<DzFacetShape*>(node->getObject()->getCurrentShape());
    return shape != nullptr ? shape->getFacetMesh() : nullptr;
}

// Every facet of the node's mesh names existing vertices, UVs, materials of
// its shape and face groups, and the mesh has no material group beyond the
// shape's materials.
inline void expectSoundFacets(const DzNode* node) {
    const DzFacetMesh* mesh = facetMeshOf(node);
    ASSERT_NE(nullptr, mesh);
    const int uvCount = mesh->getUVs() != nullptr ? mesh->getUVs()->getNumValues() : 0;
    const int materials = node->getObject()->getCurrentShape()->getNumMaterials();
    ASSERT_LE(mesh->getNumMaterialGroups(), materials);
    for (int f = 0; f < mesh->getNumFacets(); ++f) {
        const DzFacet facet = mesh->getFacet(f);
        const int corners = facet.isQuad() ? 4 : 3;
        for (int k = 0; k < corners; ++k) {
            ASSERT_GE(facet.m_vertIdx[k], 0);
            ASSERT_LT(facet.m_vertIdx[k], mesh->getNumVertices());
            ASSERT_GE(facet.m_uvwIdx[k], 0);
            ASSERT_LT(facet.m_uvwIdx[k], uvCount);
        }
        ASSERT_LT(int(facet.m_materialIdx), materials);
        ASSERT_LT(int(facet.m_faceGroupIdx), mesh->getNumFaceGroups());
    }
}

inline DzNode* node(const char* name) {
    return dzScene->findNode(QString::fromLatin1(name));
}

// The scene's nodes that are of the host class, in scene order.
inline std::vector<DzNode*> nodesOf(const char* className) {
    std::vector<DzNode*> out;
    for (int i = 0; i < dzScene->getNumNodes(); ++i) {
        if (dzScene->getNode(i)->inherits(className)) {
            out.push_back(dzScene->getNode(i));
        }
    }
    return out;
}

// A fresh scene per test, and the build step on a loaded document.
class ImportTest : public ::testing::Test {
protected:
    void SetUp() override { DzScene::create(); }
    void TearDown() override { DzScene::destroy(); }
    // An empty scene for the next case of a table.
    void freshScene() {
        DzScene::destroy();
        DzScene::create();
    }

    // Scales and builds the document (kept in doc_ for inspection).
    void build(yfx::SceneDoc doc, const ImportOptions& options, float scale = 1.0f) {
        doc_ = std::move(doc);
        session_.options = options;
        session_.source_path = kSourcePath;
        session_.current_figure = nullptr;
        yfx::importer::scaleForImport(doc_, scale);
        ASSERT_EQ(1, yfx::importer::buildImportedScene(session_));
    }

    yfx::SceneDoc doc_;
    yfx::importer::ImportSession session_{doc_};
};

} // namespace importtest
