// Mesh gathering: polygons (triangles first), facet indices checked before
// use, texture coordinates, which geometry gives polygons and positions, and
// posed world-space positions.
#include "gather_test_scene.h"

#include <dzenumproperty.h>

namespace gathertest {
namespace {

using MeshTest = GatherTest;

struct Corner {
    int vertex, uv;
    float u, v;
};

TEST_F(MeshTest, TrianglesComeFirstAndEveryFacetIndexIsCheckedBeforeUse) {
    // UV 0 is (0.25, 0.75), UV i is (i / 10, i / 5) otherwise.
    const UVs uvs = {{0.25f, 0.75f}, {0.1f, 0.2f}, {0.2f, 0.4f}, {0.3f, 0.6f}, {0.4f, 0.8f}};
    const std::vector<Face> faces = {
        {{0, 1, 2, 3}, {0, 1, 2, 3}, 1}, {{1, 4, 2}, {4, 2, 1}, 0}, {{3, 2, 4, 0}, {3, 2, 4, 0}, 1},
        {{0, 9, 4}, {0, 77, -5}, 0}, // vertex 9, UVs 77 and -5 name nothing
        {{0, 1, 2}, {0, 1, 2}, 2},   // material 2 names no surface: no UVs
    };
    addNode("Empty"); // no object
    attachMesh(addNode("Plane"),
               facetMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 0, 0}}, faces, uvs),
               {new DzDefaultMaterial(), new DzDefaultMaterial()});
    attachMesh(addNode("Points"), facetMesh({{1, 2, 3}, {4, 5, 6}}, {}), {});
    const yfx::SceneDoc& doc = gather();
    ASSERT_EQ(doc.meshes.size(), 2u);
    EXPECT_EQ(doc.bones[0].mesh, -1);

    const yfx::DocMesh& mesh = doc.meshes[0];
    EXPECT_EQ(mesh.vertices.size(), 5u);
    EXPECT_EQ(mesh.mesh_value, 5);
    EXPECT_FLOAT_EQ(mesh.vertices[4].position[0], 2.0f);
    EXPECT_EQ(mesh.highest_vertex_index, 4);
    struct PolygonWant {
        int material;
        std::vector<Corner> corners;
    };
    const std::vector<PolygonWant> want = {
        {0, {{1, 4, 0.4f, 0.2f}, {4, 2, 0.2f, 0.6f}, {2, 1, 0.1f, 0.8f}}},
        {0, {{0, 0, 0.25f, 0.25f}, {-1, 77, 0, 0}, {4, -5, 0, 0}}},
        {2, {{0, 0, 0, 0}, {1, 1, 0, 0}, {2, 2, 0, 0}}},
        {1, {{0, 0, 0.25f, 0.25f}, {1, 1, 0.1f, 0.8f}, {2, 2, 0.2f, 0.6f}, {3, 3, 0.3f, 0.4f}}},
        {1, {{3, 3, 0.3f, 0.4f}, {2, 2, 0.2f, 0.6f}, {4, 4, 0.4f, 0.2f}, {0, 0, 0.25f, 0.25f}}},
    };
    ASSERT_EQ(mesh.polygons.size(), want.size());
    // The UVs are kept per corner in corner order, layer 0 only.
    const std::vector<yfx::DocUV>& uvsByCorner = mesh.gathered_corner_uvs[0];
    ASSERT_EQ(uvsByCorner.size(), 17u);
    EXPECT_TRUE(mesh.gathered_corner_uvs[1].empty());
    std::size_t n = 0;
    for (std::size_t p = 0; p < want.size(); ++p) {
        const yfx::DocPolygon& polygon = mesh.polygons[p];
        EXPECT_EQ(polygon.material, want[p].material) << p;
        ASSERT_EQ(polygon.corners.size(), want[p].corners.size()) << p;
        for (std::size_t c = 0; c < want[p].corners.size(); ++c, ++n) {
            const yfx::DocCorner& corner = polygon.corners[c];
            const Corner& w = want[p].corners[c];
            SCOPED_TRACE(::testing::Message() << "polygon " << p << ", corner " << c);
            EXPECT_EQ(corner.vertex, w.vertex);
            EXPECT_EQ(corner.uv[0].index, w.uv);
            EXPECT_FLOAT_EQ(uvsByCorner[n].u, w.u);
            EXPECT_FLOAT_EQ(uvsByCorner[n].v, w.v);
        }
    }

    const yfx::DocMesh& points = doc.meshes[1];
    EXPECT_TRUE(points.polygons.empty());
    EXPECT_EQ(points.highest_vertex_index, yfx::kNoPolygonVertexIndex);
    ASSERT_EQ(points.vertices.size(), 2u);
    EXPECT_FLOAT_EQ(points.vertices[1].position[2], 6.0f);
}

TEST_F(MeshTest, MeshMirroredByItsWorldTransformIsTurnedRoundToFaceOut) {
    // Which nodes scale x by -1 (the mesh's own, its parent's), and whether
    // the mesh ends up mirrored.
    struct Case {
        bool own, parent, mirrored;
    };
    const Case cases[] = {
        {false, false, false}, {true, false, true}, {false, true, true}, {true, true, false}};
    const UVs uvs = {{0.1f, 0.1f}, {0.2f, 0.2f}, {0.3f, 0.3f}, {0.4f, 0.4f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "own " << c.own << ", parent " << c.parent);
        startOver();
        DzNode* group = addNode("Group");
        DzNode* node = addNode("Plane", group);
        attachMesh(node,
                   facetMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                             {{{0, 1, 2}, {0, 1, 2}, 0}, {{0, 1, 2, 3}, {0, 1, 2, 3}, 0}}, uvs),
                   {new DzDefaultMaterial()});
        group->getXScaleControl()->setValue(c.parent ? -1.0f : 1.0f);
        node->getXScaleControl()->setValue(c.own ? -1.0f : 1.0f);
        const yfx::SceneDoc& doc = gather();
        ASSERT_EQ(doc.meshes.size(), 1u);
        const yfx::DocMesh& mesh = doc.meshes[0];
        const std::vector<std::vector<int>> want =
            c.mirrored ? std::vector<std::vector<int>>{{2, 1, 0}, {3, 2, 1, 0}}
                       : std::vector<std::vector<int>>{{0, 1, 2}, {0, 1, 2, 3}};
        ASSERT_EQ(mesh.polygons.size(), 2u);
        std::size_t n = 0;
        for (std::size_t p = 0; p < 2; ++p) {
            ASSERT_EQ(mesh.polygons[p].corners.size(), want[p].size());
            for (std::size_t k = 0; k < want[p].size(); ++k, ++n) {
                // Vertex i has UV index i and UV (i + 1) / 10: each corner keeps its own.
                const int v = want[p][k];
                EXPECT_EQ(mesh.polygons[p].corners[k].vertex, v);
                EXPECT_EQ(mesh.polygons[p].corners[k].uv[0].index, v);
                EXPECT_FLOAT_EQ(mesh.gathered_corner_uvs[0][n].u, 0.1f * float(v + 1));
            }
        }
    }
}

TEST_F(MeshTest, SkinnedFigureGivesItsPosedWorldSpacePositionsAtTheExportFrame) {
    // A figure moved 5 along Z whose hip (pivot 0, 1, 0) turns 90 degrees
    // about Z by frame 10; the play range is frames 10 to 30. The scene is
    // read at frame 10, or with the zero pose at frame 31 with the hip unturned.
    struct Case {
        int zeroPose;
        std::vector<Point> want;
    };
    const Case cases[] = {
        {0, {{0, 2, 5}, {0.25f, 1.75f, 5}, {2, 0, 5}}}, // half way for the half weight
        {1, {{1, 1, 5}, {1, 1.5f, 5}, {2, 0, 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zeroPose);
        startOver();
        auto* figure = addNode<DzFigure>("Figure");
        auto* hip = addNode<DzBone>("Hip", figure);
        hip->setOrigin(DzVec3(0, 1, 0));
        figure->getZPosControl()->setValue(5.0f);
        hip->getZRotControl()->setValue(0, 0.0f);
        hip->getZRotControl()->setValue(1600, 90.0f);
        attachMesh(figure, facetMesh({{1, 1, 0}, {1, 1.5f, 0}, {2, 0, 0}}, {{{0, 1, 2}, {}}}), {});
        bindBone(figure, hip, weightMap(3, {{0, 1.0f}, {1, 0.5f}}));
        dzScene->setPlayRange(DzTimeRange(1600, 4800));
        options().export_zeropose = c.zeroPose;
        const yfx::SceneDoc& doc = gather();
        ASSERT_EQ(doc.meshes.size(), 1u);
        const yfx::DocMesh& mesh = doc.meshes[0];
        ASSERT_EQ(mesh.vertices.size(), c.want.size());
        for (std::size_t i = 0; i < c.want.size(); ++i) {
            EXPECT_NEAR(mesh.vertices[i].position[0], c.want[i].x, 1e-4f) << i;
            EXPECT_NEAR(mesh.vertices[i].position[1], c.want[i].y, 1e-4f) << i;
            EXPECT_NEAR(mesh.vertices[i].position[2], c.want[i].z, 1e-4f) << i;
        }
    }
}

TEST_F(MeshTest, CachedGeometryGivesPolygonsAndUVsWhenAskedForOrWhenASecondUVSetIsInUse) {
    // The shape's mesh: one triangle, UV set 0 at u = 0.1, set 1 at u = 0.9.
    // A supplied high-resolution cache: one quad over four vertices, u = 0.5.
    struct Case {
        int highRes, uvSet;
        std::size_t vertices, corners;
        float u;
    };
    const Case cases[] = {{0, 0, 3, 3, 0.1f}, {0, 1, 3, 3, 0.9f}, {1, 0, 4, 4, 0.5f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "high-res " << c.highRes << ", UV set " << c.uvSet);
        startOver();
        DzNode* node = addNode("Cloth");
        const UVs low = {{0.1f, 0}, {0.1f, 0}, {0.1f, 0}};
        DzFacetMesh* mesh =
            facetMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}, {0, 1, 2}}}, low);
        mesh->addUVSet(uvSet({{0.9f, 0}, {0.9f, 0}, {0.9f, 0}}));
        auto* material = new DzDefaultMaterial();
        attachMesh(node, mesh, {material});
        material->getUVSetControl()->setValue(c.uvSet);
        if (c.highRes == 1) {
            node->getObject()->setCachedGeom(facetMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                                       {{{0, 1, 2, 3}, {0, 0, 0, 0}}},
                                                       {{0.5f, 0}}));
        }
        options().export_high_resmesh = c.highRes;
        const yfx::DocMesh& gathered = gather().meshes.at(0);
        EXPECT_EQ(gathered.mesh_value, 3);
        EXPECT_EQ(gathered.vertices.size(), c.vertices);
        EXPECT_EQ(gathered.surfaces.at(0).uv_set_index, c.uvSet);
        ASSERT_EQ(gathered.polygons.size(), 1u);
        ASSERT_EQ(gathered.polygons[0].corners.size(), c.corners);
        ASSERT_EQ(gathered.gathered_corner_uvs[0].size(), c.corners);
        for (const yfx::DocUV& uv : gathered.gathered_corner_uvs[0]) {
            EXPECT_FLOAT_EQ(uv.u, c.u);
        }
    }
}

} // namespace
} // namespace gathertest
