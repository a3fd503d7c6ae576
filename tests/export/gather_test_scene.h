// Small stand-in scenes for the gathering tests: a fresh scene per test, an
// export session with logging off, and builders for meshes, figures and
// textures.
#pragma once

#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzdefaultmaterial.h>
#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dzfigure.h>
#include <dzfloatproperty.h>
#include <dzimagemgr.h>
#include <dzobject.h>
#include <dzscene.h>
#include <dzskinbinding.h>
#include <dztexture.h>
#include <dzvertexmap.h>
#include <dzweightmap.h>

#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "document/scene_doc.h"
#include "export/export_session.h"
#include "export/gather_scene.h"
#include "platform/path.h"

namespace gathertest {

struct Point {
    float x, y, z;
};

// Three or four vertex indices, as many UV indices, the material group.
struct Face {
    std::vector<int> vertices;
    std::vector<int> uvs;
    int material = 0;
};

using UVs = std::vector<std::pair<float, float>>;

inline DzUVSet* uvSet(const UVs& uvs) {
    auto* set = new DzUVSet();
    set->setMapType(DzMap::FLOAT2_MAP);
    for (const auto& uv : uvs) {
        const DzPnt2 p = {uv.first, uv.second};
        set->appendPnt2Value(p);
    }
    return set;
}

// A facet mesh of the points and faces; with uvs, a UV list (also set 0).
inline DzFacetMesh* facetMesh(const std::vector<Point>& points, const std::vector<Face>& faces,
                              const UVs& uvs = {}) {
    auto* mesh = new DzFacetMesh();
    for (const Point& p : points) {
        mesh->addVertex(p.x, p.y, p.z);
    }
    for (const Face& face : faces) {
        int verts[4] = {-1, -1, -1, -1};
        int uvIndices[4] = {-1, -1, -1, -1};
        for (std::size_t c = 0; c < face.vertices.size() && c < 4; ++c) {
            verts[c] = face.vertices[c];
            uvIndices[c] = c < face.uvs.size() ? face.uvs[c] : -1;
        }
        mesh->activateMaterial(face.material);
        mesh->addFacet(verts, uvIndices);
    }
    if (!uvs.empty()) {
        mesh->setUVList(uvSet(uvs));
    }
    return mesh;
}

// Gives the node an object whose current shape holds the mesh and materials.
inline void attachMesh(DzNode* node, DzFacetMesh* mesh,
                       std::initializer_list<DzMaterial*> materials) {
    auto* shape = new DzFacetShape();
    shape->setFacetMesh(mesh);
    for (DzMaterial* material : materials) {
        shape->addMaterial(material);
    }
    auto* object = new DzObject();
    object->addShape(shape);
    node->setObject(object);
}

template <class Node = DzNode> Node* addNode(const char* label, DzNode* parent = nullptr) {
    auto* node = new Node();
    node->setLabel(QString::fromLatin1(label));
    if (parent != nullptr) {
        parent->addNodeChild(node);
    } else {
        dzScene->addNode(node);
    }
    return node;
}

inline DzNode* addTriangleNode(const char* label, DzNode* parent = nullptr) {
    DzNode* node = addNode(label, parent);
    attachMesh(node, facetMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}, {}}}),
               {new DzDefaultMaterial()});
    return node;
}

inline DzWeightMap* weightMap(int n, std::initializer_list<std::pair<int, float>> weights) {
    auto* map = new DzWeightMap(n);
    for (const auto& kw : weights) {
        map->setWeight(kw.first, DzWeightMap::floatToWeight(kw.second));
    }
    return map;
}

inline void bindBone(DzFigure* figure, DzBone* bone, DzWeightMap* general,
                     DzWeightMap* scale = nullptr) {
    auto* binding = new DzBoneBinding();
    binding->setBone(bone);
    binding->setWeights(general);
    binding->setScaleWeights(scale);
    figure->getSkinBinding()->addBoneBinding(binding);
}

// Image files of a given size made on disk and loaded as host textures.
class TextureFiles {
public:
    DzTexture* texture(const char* name, int w, int h) {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::gray);
        EXPECT_TRUE(image.save(path)) << name;
        return images_.getImage(path);
    }
    // The texture's path as a surface stores it: "\" for every "/".
    static std::wstring storedPath(const DzTexture* texture) {
        return yfx::toHostPath(texture->getFilename().toStdWString());
    }

private:
    struct Images : DzImageMgr {}; // the application object normally makes it
    QTemporaryDir dir_;
    Images images_;
};

class GatherTest : public ::testing::Test {
protected:
    void SetUp() override {
        DzScene::create();
        session_.options.logging_enabled = 0;
    }
    void TearDown() override { DzScene::destroy(); }
    // An empty scene and document again (the options stay), for table cases.
    void startOver() {
        TearDown();
        DzScene::create();
        doc_ = yfx::SceneDoc();
    }

    const yfx::SceneDoc& gather() {
        EXPECT_EQ(yfx::exporter::gatherScene(session_), 1);
        return doc_;
    }
    yfx::exporter::ExportOptions& options() { return session_.options; }

    yfx::SceneDoc doc_;
    yfx::exporter::ExportSession session_{doc_};
};

} // namespace gathertest
