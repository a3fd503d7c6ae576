// Host geometry from the document: which nodes the groups become and what
// they are named, vertices shared by corners, the UV list and its index
// runs, the figure's single shape, and facets that stay sound whatever
// indices the document holds.
#include "import_support.h"

#include <dzfacegroup.h>

using namespace importtest;

namespace {

// Groups Body and Head of two triangles each, a triangle in no group, and
// a vertex weighted to two bones (a figure with joints on).
yfx::SceneDoc twoGroups() {
    yfx::SceneDoc doc;
    addGroups(doc, {"Body", "Head"});
    for (int i = 0; i < 6; ++i) {
        addVertex(doc, float(i), float(i % 2), 0.0f);
    }
    addPolygon(doc, {0, 1, 2}, 0);
    addPolygon(doc, {3, 4, 5}, 1);
    addPolygon(doc, {1, 2, 3}, 0);
    addPolygon(doc, {2, 3, 4}, 1);
    addPolygon(doc, {0, 2, 4}, -1);
    addBone(doc, "Hip", -1, 0, 0, 0);
    addBone(doc, "Neck", 0, 0, 1, 0);
    doc.vertices[0].weights.push_back(yfx::DocWeight{0, 0.5f, 1});
    doc.vertices[0].weights.push_back(yfx::DocWeight{1, 0.5f, 1});
    return doc;
}

int facetCount(const char* name) {
    const DzFacetMesh* mesh = facetMeshOf(node(name));
    return mesh != nullptr ? mesh->getNumFacets() : -1;
}

} // namespace

TEST_F(ImportTest, GroupsBecomeNodesOnlyWithGroupsOnAndAFigureHasOneShape) {
    struct Case {
        int groups, joints;
        std::vector<std::pair<const char*, int>> facets; // node, facet count (-1: no node)
    };
    const std::vector<std::pair<const char*, int>> noGroupNodes = {
        {"Unassigned", -1}, {"Body", -1}, {"Head", -1}};
    const Case cases[] = {
        {1, 0, {{"Unassigned", 1}, {"Body", 2}, {"Head", 2}, {"Robot", -1}}},
        {0, 0, {{"Robot", 5}, noGroupNodes[0], noGroupNodes[1], noGroupNodes[2]}},
        {0, 1, {{"Robot_Figure0", 5}, {"Robot", -1}, noGroupNodes[1], noGroupNodes[2]}},
    };
    for (const Case& c : cases) {
        freshScene();
        ImportOptions options = everyOption();
        options.import_groups = c.groups;
        options.import_joints = c.joints;
        build(normalised(twoGroups()), options);
        for (const auto& expected : c.facets) {
            EXPECT_EQ(expected.second, facetCount(expected.first))
                << "groups " << c.groups << ", node " << expected.first;
        }
    }
}

TEST_F(ImportTest, FacetsShareVerticesAndNumberUVsByCorner) {
    // A triangle, a quad and a triangle over vertices 0 to 4, the last one
    // also using vertex 5, which lies where vertex 0 does.
    for (const int uvs : {1, 0}) {
        freshScene();
        yfx::SceneDoc doc;
        addGroups(doc, {"Body"});
        for (int i = 0; i < 5; ++i) {
            addVertex(doc, float(i), float(i * i), 0.0f);
        }
        addVertex(doc, 0, 0, 0);
        addPolygon(doc, {0, 1, 2}, 0, -1, 0);
        addPolygon(doc, {1, 2, 3, 4}, 0, -1, 3);
        addPolygon(doc, {2, 5, 4}, 0, -1, 7);
        doc.uvsets.resize(1);
        for (int k = 0; k < 10; ++k) {
            doc.uvsets[0].uvs.push_back(yfx::DocUV{0, float(k), 0.25f});
        }
        ImportOptions options = everyOption();
        options.import_uvs = uvs;
        build(normalised(std::move(doc)), options);

        const DzFacetMesh* mesh = facetMeshOf(node("Robot"));
        ASSERT_NE(nullptr, mesh);
        EXPECT_EQ(6, mesh->getNumVertices());
        const std::vector<std::vector<int>> corners = {{0, 1, 2, -1}, {1, 2, 3, 4}, {2, 5, 4, -1}};
        const std::vector<std::vector<int>> runs = {{0, 1, 2, -1}, {3, 4, 5, 6}, {7, 8, 9, -1}};
        for (int f = 0; f < 3; ++f) {
            const DzFacet facet = mesh->getFacet(f);
            EXPECT_EQ(corners[std::size_t(f)],
                      std::vector<int>(facet.m_vertIdx, facet.m_vertIdx + 4));
            EXPECT_EQ(runs[std::size_t(f)], std::vector<int>(facet.m_uvwIdx, facet.m_uvwIdx + 4))
                << "uvs " << uvs << ", facet " << f;
        }
        ASSERT_EQ(10, mesh->getUVs()->getNumValues());
        for (int k = 0; k < 10; ++k) {
            const float* uv = mesh->getUVs()->getPnt2Value(k);
            EXPECT_EQ(uvs == 1 ? float(k) : 0.0f, uv[0]) << "uvs " << uvs << ", entry " << k;
            EXPECT_EQ(uvs == 1 ? 0.75f : 1.0f, uv[1]) << "uvs " << uvs << ", entry " << k;
        }
    }
}

TEST_F(ImportTest, HostileIndicesLeaveSoundFacets) {
    for (const int groups : {0, 1}) {
        freshScene();
        yfx::SceneDoc doc = twoGroups();
        doc.materials.resize(1);
        doc.uvsets.resize(1);
        doc.uvsets[0].uvs.resize(2);
        doc.meshes[0].polygons[0].word2 = 77;    // no such group build
        doc.meshes[0].polygons[1].material = 99; // no such material
        doc.meshes[0].polygons[2].corners[1].uv[0].index = 500;
        doc.meshes[0].polygons[3].word2 = -40;
        doc.vertices[0].weights.push_back(yfx::DocWeight{99, 1.0f, 1}); // no such bone
        doc.vertices[1].weights.push_back(yfx::DocWeight{0, 1.0f, 1});
        ImportOptions options = everyOption();
        options.import_groups = groups;
        build(normalised(std::move(doc)), options);
        for (int i = 0; i < dzScene->getNumNodes(); ++i) {
            if (const DzFacetMesh* mesh = facetMeshOf(dzScene->getNode(i))) {
                expectSoundFacets(dzScene->getNode(i));
                EXPECT_LE(mesh->getNumFaceGroups(), 3) << "groups " << groups;
            }
        }
    }
}

TEST_F(ImportTest, FaceGroupsDoNotDependOnBones) {
    // Three groups of one triangle each, groups off: one node whose face groups
    // are the file's groups, whether or not the file has a bone.
    for (const bool withBone : {false, true}) {
        SCOPED_TRACE(withBone ? "one bone" : "no bones");
        freshScene();
        yfx::SceneDoc doc;
        addGroups(doc, {"Arm", "Leg", "Head"});
        for (int g = 0; g < 3; ++g) {
            addVertex(doc, float(g), 0, 0);
            addVertex(doc, float(g), 1, 0);
            addVertex(doc, float(g), 0, 1);
            addPolygon(doc, {3 * g, 3 * g + 1, 3 * g + 2}, 2 - g);
        }
        if (withBone) {
            addBone(doc, "Hip", -1, 0, 0, 0);
        }
        ImportOptions options = everyOption();
        options.import_joints = 0;
        build(normalised(std::move(doc)), options);
        const DzFacetMesh* mesh = facetMeshOf(node("Robot"));
        ASSERT_NE(nullptr, mesh);
        ASSERT_EQ(3, mesh->getNumFaceGroups());
        const char* names[] = {"Arm", "Leg", "Head"};
        for (int g = 0; g < 3; ++g) {
            EXPECT_EQ(QString::fromLatin1(names[g]), mesh->getFaceGroup(g)->getName());
        }
        ASSERT_EQ(3, mesh->getNumFacets());
        for (int f = 0; f < 3; ++f) {
            EXPECT_EQ(2 - f, int(mesh->getFacet(f).m_faceGroupIdx)) << "facet " << f;
        }
    }
}
