// The scene builder on scenes made in memory: the units and axes each format
// (and the file's own metadata) names land a node where the host expects it,
// in centimetres with Y up; faces of more than four corners are split into
// triangles that cover the polygon (concave ones too), quads are kept, and
// points and lines are left out with a note; corners share a host vertex
// only when that keeps every face, and a face that names one vertex at two
// corners is kept as what it draws or left out with a note.
#include "model_test_support.h"

#include "model/scene_builder.h"

#include <assimp/scene.h>
// (metadata.h needs scene.h's types first)
#include <assimp/metadata.h>

#include <dzfacetmesh.h>
#include <dzfacetshape.h>
#include <dznode.h>
#include <dzobject.h>
#include <dzscene.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace modeltest {
namespace {

// A mesh in the z = 0 plane.
aiMesh* meshOf(const std::vector<aiVector3D>& positions, const std::vector<aiVector3D>& uvs,
               const std::vector<std::vector<unsigned>>& faces) {
    auto* mesh = new aiMesh();
    mesh->mNumVertices = unsigned(positions.size());
    mesh->mVertices = new aiVector3D[positions.size()];
    std::copy(positions.begin(), positions.end(), mesh->mVertices);
    if (!uvs.empty()) {
        mesh->mTextureCoords[0] = new aiVector3D[positions.size()];
        std::copy(uvs.begin(), uvs.end(), mesh->mTextureCoords[0]);
        mesh->mNumUVComponents[0] = 2;
    }
    mesh->mNumFaces = unsigned(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    for (std::size_t f = 0; f < faces.size(); ++f) {
        mesh->mFaces[f].mNumIndices = unsigned(faces[f].size());
        mesh->mFaces[f].mIndices = new unsigned[faces[f].size()];
        std::copy(faces[f].begin(), faces[f].end(), mesh->mFaces[f].mIndices);
    }
    mesh->mPrimitiveTypes = aiPrimitiveType_POLYGON | aiPrimitiveType_LINE;
    return mesh;
}

// A scene of one node "Thing" at (1, 2, 3), holding `mesh` when given.
std::unique_ptr<aiScene> sceneWith(aiMesh* mesh) {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("Root");
    auto* thing = new aiNode("Thing");
    thing->mTransformation = aiMatrix4x4(aiVector3D(1, 1, 1), aiQuaternion(), aiVector3D(1, 2, 3));
    thing->mParent = scene->mRootNode;
    scene->mRootNode->mNumChildren = 1;
    scene->mRootNode->mChildren = new aiNode* [1] { thing };
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { new aiMaterial() };
    if (mesh != nullptr) {
        scene->mNumMeshes = 1;
        scene->mMeshes = new aiMesh* [1] { mesh };
        thing->mNumMeshes = 1;
        thing->mMeshes = new unsigned[1]{0};
    }
    return scene;
}

void setAxes(aiScene& scene, int up, int upSign, int front, int frontSign, double unit) {
    scene.mMetaData = aiMetadata::Alloc(7);
    scene.mMetaData->Set(0, "UpAxis", int32_t(up));
    scene.mMetaData->Set(1, "UpAxisSign", int32_t(upSign));
    scene.mMetaData->Set(2, "FrontAxis", int32_t(front));
    scene.mMetaData->Set(3, "FrontAxisSign", int32_t(frontSign));
    scene.mMetaData->Set(4, "CoordAxis", int32_t(0));
    scene.mMetaData->Set(5, "CoordAxisSign", int32_t(1));
    scene.mMetaData->Set(6, "UnitScaleFactor", unit);
}

// Builds the scene into a fresh host scene; the node labelled "Thing".
DzNode* build(const aiScene& scene, const char* extension, double cmOverride,
              yfx::model::ModelNotes& notes) {
    yfx::model::BuildOptions options;
    options.extension = extension;
    options.cmPerUnitOverride = cmOverride;
    yfx::model::BuiltScene built;
    std::string error;
    EXPECT_TRUE(yfx::model::buildHostScene(scene, options, built, notes, error)) << error;
    return dzScene->findNodeByLabel(QStringLiteral("Thing"));
}

struct HostScene {
    HostScene() { DzScene::create(); }
    ~HostScene() { DzScene::destroy(); }
};

TEST(SceneBuilder, UnitsAndAxesLandNodesInCentimetresWithYUp) {
    const struct {
        const char* extension;
        bool fbxAxes; // Z up, front -Y, inches (FBX metadata)
        double cmOverride;
        float x, y, z;
    } cases[] = {
        {"gltf", false, 0, 100, 200, 300},      // metres
        {"dae", false, 0, 100, 200, 300},       // Assimp gives Collada in metres
        {"obj", false, 0, 1, 2, 3},             // no unit: centimetres
        {"obj", false, 10, 10, 20, 30},         // as asked
        {"3mf", false, 0, 0.1f, 0.2f, 0.3f},    // millimetres
        {"fbx", true, 0, 2.54f, 7.62f, -5.08f}, // Z up turned to Y up, inches
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.extension) + (c.fbxAxes ? " with axes" : ""));
        HostScene host;
        const auto scene = sceneWith(nullptr);
        if (c.fbxAxes) {
            setAxes(*scene, 2, 1, 1, -1, 2.54);
        }
        yfx::model::ModelNotes notes;
        DzNode* thing = build(*scene, c.extension, c.cmOverride, notes);
        ASSERT_NE(thing, nullptr);
        const DzVec3 at = thing->getWSTransform(0).row(3);
        EXPECT_NEAR(at.m_x, c.x, 1e-4);
        EXPECT_NEAR(at.m_y, c.y, 1e-4);
        EXPECT_NEAR(at.m_z, c.z, 1e-4);
        EXPECT_FALSE(notes.applied.empty());
    }
}

TEST(SceneBuilder, LargePolygonsAreSplitQuadsKeptLinesLeftOut) {
    // An L-shaped hexagon (concave at corner 3), a quad and a line, in the
    // z = 0 plane.
    const float points[][2] = {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2},
                               {0, 2}, {3, 0}, {4, 0}, {4, 1}, {3, 1}};
    std::vector<aiVector3D> positions;
    for (const auto& p : points) {
        positions.emplace_back(p[0], p[1], 0);
    }
    aiMesh* mesh = meshOf(positions, {}, {{0, 1, 2, 3, 4, 5}, {6, 7, 8, 9}, {0, 6}});
    HostScene host;
    const auto scene = sceneWith(mesh);
    yfx::model::ModelNotes notes;
    DzNode* thing = build(*scene, "obj", 0, notes);
    ASSERT_NE(thing, nullptr);
    const auto* shape = qobject_cast<DzFacetShape*>(thing->getObject()->getCurrentShape());
    ASSERT_NE(shape, nullptr);
    const DzFacetMesh& m = *shape->getFacetMesh();
    ASSERT_EQ(m.getNumFacets(), 5); // four triangles and the quad
    double area = 0;
    int quads = 0;
    for (int f = 0; f < m.getNumFacets(); ++f) {
        const DzFacet facet = m.getFacet(f);
        if (facet.isQuad()) {
            ++quads;
            continue;
        }
        const DzVec3 a = m.getVertex(facet.m_vertIdx[0]), b = m.getVertex(facet.m_vertIdx[1]),
                     c = m.getVertex(facet.m_vertIdx[2]);
        const double signedArea =
            0.5 * ((b.m_x - a.m_x) * (c.m_y - a.m_y) - (b.m_y - a.m_y) * (c.m_x - a.m_x));
        EXPECT_GT(signedArea, 0) << "a triangle turned over or outside the outline, facet " << f;
        area += signedArea;
    }
    EXPECT_EQ(quads, 1);
    EXPECT_NEAR(area, 3.0, 1e-5); // the L covers three unit squares
    const std::vector<std::string> lines = notes.droppedLines();
    const bool saysLines = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("points and lines") != std::string::npos;
    });
    EXPECT_TRUE(saysLines);
}

TEST(SceneBuilder, CornersShareAVertexOnlyWhenEveryFaceStaysValid) {
    // Corners 0 to 3 of the square (0, 0) - (1, 1); the UV of each vertex is
    // its position unless a case says otherwise.
    const aiVector3D a(0, 0, 0), b(1, 0, 0), c(1, 1, 0), d(0, 1, 0);
    const struct {
        const char* what;
        std::vector<aiVector3D> positions;
        std::vector<std::vector<unsigned>> faces;
        int uvMoved; // a vertex whose UV is (0.5, 0.5), or -1
        int facets, vertices;
        std::size_t leftOut; // faces said to be left out
    } cases[] = {
        {"two distinct vertices at one position in a face",
         {a, a, b, d},
         {{0, 1, 2}, {1, 2, 3}},
         -1,
         2,
         4,
         0},
        {"a shared edge with equal UVs", {a, b, d, b, c, d}, {{0, 1, 2}, {3, 4, 5}}, -1, 2, 4, 0},
        {"a shared edge across a UV seam", {a, b, d, b, c, d}, {{0, 1, 2}, {3, 4, 5}}, 5, 2, 5, 0},
        {"a quad naming a vertex twice in a row",
         {a, b, c},
         {{0, 1, 1, 2}, {2, 0, 1, 2}},
         -1,
         2,
         3,
         0},
        {"a triangle naming a vertex twice", {a, b, c}, {{0, 0, 1}, {0, 1, 2}}, -1, 1, 3, 1},
        {"a quad folded onto itself", {a, b, c, d}, {{0, 1, 0, 2}, {0, 1, 2, 3}}, -1, 1, 4, 1},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.what);
        std::vector<aiVector3D> uvs = t.positions;
        if (t.uvMoved >= 0) {
            uvs[std::size_t(t.uvMoved)] = aiVector3D(0.5f, 0.5f, 0);
        }
        HostScene host;
        const auto scene = sceneWith(meshOf(t.positions, uvs, t.faces));
        yfx::model::ModelNotes notes;
        DzNode* thing = build(*scene, "obj", 0, notes);
        ASSERT_NE(thing, nullptr);
        const auto* shape = qobject_cast<DzFacetShape*>(thing->getObject()->getCurrentShape());
        ASSERT_NE(shape, nullptr);
        const DzFacetMesh& m = *shape->getFacetMesh();
        EXPECT_EQ(m.getNumFacets(), t.facets);
        EXPECT_EQ(m.getNumVertices(), t.vertices);
        for (int f = 0; f < m.getNumFacets(); ++f) {
            const DzFacet facet = m.getFacet(f);
            const int n = facet.isQuad() ? 4 : 3;
            for (int i = 0; i < n; ++i) {
                // A corner's UV index is its model vertex: the host vertex
                // must stand where that one does.
                const aiVector3D& want = t.positions.at(std::size_t(facet.m_uvwIdx[i]));
                const DzVec3 got = m.getVertex(facet.m_vertIdx[i]);
                EXPECT_EQ(got.m_x, want.x);
                EXPECT_EQ(got.m_y, want.y);
                for (int j = 0; j < i; ++j) {
                    EXPECT_NE(facet.m_vertIdx[i], facet.m_vertIdx[j]) << "facet " << f;
                }
            }
        }
        std::size_t leftOut = 0;
        for (const std::string& line : notes.droppedLines()) {
            if (line.find("faces that name one vertex at two corners") != std::string::npos) {
                leftOut += std::stoul(line.substr(line.find("': ") + 3));
            }
        }
        EXPECT_EQ(leftOut, t.leftOut);
    }
}

} // namespace
} // namespace modeltest
