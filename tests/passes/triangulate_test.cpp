// Splitting of polygons with five or more corners, and the use counts.
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "doc_builders.h"
#include "fail_allocation.h"
#include "passes/triangulate.h"

using namespace yfx;
using passtest::addMeshWith;
using passtest::addVertices;
using passtest::makeFan;
using passtest::makePolygon;

namespace {

using Triangle = std::vector<std::int32_t>;

std::vector<Triangle> trianglesOf(const DocMesh& mesh) {
    std::vector<Triangle> out;
    for (const DocPolygon& polygon : mesh.polygons) {
        Triangle t;
        for (const DocCorner& corner : polygon.corners) {
            t.push_back(corner.vertex);
        }
        out.push_back(t);
    }
    return out;
}

SceneDoc docWithMesh(std::initializer_list<DocPolygon> polygons) {
    SceneDoc doc;
    addVertices(doc, 16);
    addMeshWith(doc, polygons);
    return doc;
}

} // namespace

TEST(Triangulate, PentagonAndHexagonBecomeStripsWithTheirCornerData) {
    SceneDoc doc = docWithMesh({makePolygon({0, 1, 2, 3, 4}, 1, 2), makeFan(6, 10)});
    doc.meshes[0].polygons[0].polygon_value2 = 77;
    doc.meshes[0].polygons[0].polygon_word = 5;
    EXPECT_EQ(passes::triangulateMeshes(doc), 1);
    EXPECT_EQ(trianglesOf(doc.meshes[0]), (std::vector<Triangle>{{4, 0, 3},
                                                                 {0, 1, 3},
                                                                 {3, 1, 2},
                                                                 {15, 10, 14},
                                                                 {10, 11, 14},
                                                                 {14, 11, 13},
                                                                 {11, 12, 13}}));
    // Source edges keep their corner's flag (10 + corner), inner edges are hidden.
    const std::int32_t flags[3][3] = {{14, 0, 13}, {10, 0, 0}, {0, 11, 12}};
    for (int t = 0; t < 3; ++t) {
        const DocPolygon& triangle = doc.meshes[0].polygons[std::size_t(t)];
        EXPECT_EQ(triangle.group, 1);
        EXPECT_EQ(triangle.word2, 1);
        EXPECT_EQ(triangle.material, 2);
        EXPECT_EQ(triangle.polygon_value2, 77u);
        EXPECT_EQ(triangle.polygon_word, 0);
        for (std::uint32_t c = 0; c < 3; ++c) {
            const DocCorner& corner = triangle.corners[c];
            EXPECT_EQ(corner.flags, flags[t][c]) << "triangle " << t << " corner " << c;
            EXPECT_EQ(corner.index2, passtest::index2Of(corner.vertex));
            EXPECT_EQ(corner.index3, passtest::index3Of(corner.vertex));
            for (int layer = 0; layer < kPolygonUVLayers; ++layer) {
                EXPECT_EQ(corner.uv[layer].index, passtest::uvIndexOf(layer, corner.vertex));
                EXPECT_EQ(corner.uv[layer].second, passtest::uvSecondOf(layer, corner.vertex));
            }
        }
    }
}

TEST(Triangulate, EveryStripCoversItsPolygonOnce) {
    for (std::int32_t n = 5; n <= 40; ++n) {
        SceneDoc doc = docWithMesh({makeFan(n)});
        doc.vertices.resize(std::size_t(n));
        ASSERT_EQ(passes::triangulateMeshes(doc), 1);
        ASSERT_EQ(doc.meshes[0].polygons.size(), std::size_t(n - 2));
        // Each outer edge once, with its flag; each inner edge twice, hidden.
        std::map<std::pair<int, int>, int> uses;
        for (const DocPolygon& triangle : doc.meshes[0].polygons) {
            for (std::uint32_t c = 0; c < 3; ++c) {
                const int a = triangle.corners[c].vertex;
                const int b = triangle.corners[(c + 1) % 3].vertex;
                ASSERT_NE(a, b);
                const bool outer = b == (a + 1) % n;
                EXPECT_EQ(triangle.corners[c].flags, outer ? 10 + a : 0);
                ++uses[{std::min(a, b), std::max(a, b)}];
            }
        }
        for (const auto& [edge, count] : uses) {
            const bool outer =
                edge.second == edge.first + 1 || (edge.first == 0 && edge.second == n - 1);
            EXPECT_EQ(count, outer ? 1 : 2)
                << n << " corners, edge " << edge.first << "-" << edge.second;
        }
        EXPECT_EQ(uses.size(), std::size_t(2 * n - 3));
    }
}

TEST(Triangulate, TrianglesComeFirstThenQuadsAndShortPolygonsAreDropped) {
    DocPolygon twoCorners = makePolygon({7, 8, 9});
    twoCorners.corners.truncate(2);
    SceneDoc doc = docWithMesh({makePolygon({0, 1, 2, 3}, 5), makePolygon({4, 5, 6}, 6), twoCorners,
                                makeFan(5, 8), makePolygon({1, 2, 3, 4}, 7)});
    DocMesh& mesh = doc.meshes[0];
    mesh.name.set(L"Body");
    mesh.weights_flag = 1;
    mesh.colours.resize(3);
    EXPECT_EQ(passes::triangulateMeshes(doc), 1);
    EXPECT_EQ(trianglesOf(doc.meshes[0]),
              (std::vector<Triangle>{
                  {4, 5, 6}, {12, 8, 11}, {8, 9, 11}, {11, 9, 10}, {0, 1, 2, 3}, {1, 2, 3, 4}}));
    EXPECT_EQ(doc.meshes[0].polygons[0].corners[0].flags, 10); // a triangle keeps all its flags
    EXPECT_EQ(doc.meshes[0].polygons[5].group, 7);
    EXPECT_EQ(std::wstring(doc.meshes[0].name.text), L"Body");
    EXPECT_EQ(doc.meshes[0].weights_flag, 0);
    EXPECT_TRUE(doc.meshes[0].colours.empty());
}

TEST(Triangulate, MeshesWithoutLargePolygonsStayAndUsesAreCountedAgain) {
    SceneDoc doc = docWithMesh({makePolygon({0, 1, 2}, 0, 1), makePolygon({0, 1, 2, 3}, 9, -1)});
    doc.meshes[0].weights_flag = 1;
    addMeshWith(doc, {makePolygon({0, 1, 2, 3, 4}, 1, 1)});
    doc.groups.resize(2);
    doc.groups[0].group_value = 50;
    doc.groups[1].members.resize(4);
    doc.materials.resize(2);
    doc.materials[0].face_count = 40;
    EXPECT_EQ(passes::triangulateMeshes(doc), 1);
    EXPECT_EQ(doc.meshes[0].weights_flag, 1);
    EXPECT_EQ(doc.meshes[0].polygons.size(), 2u);
    EXPECT_EQ(doc.groups[0].group_value, 1);
    EXPECT_EQ(doc.groups[1].group_value, 3);
    EXPECT_TRUE(doc.groups[1].members.empty());
    EXPECT_EQ(doc.materials[0].face_count, 0);
    EXPECT_EQ(doc.materials[1].face_count, 4);

    SceneDoc noVertices;
    addMeshWith(noVertices, {makeFan(5)});
    EXPECT_EQ(passes::triangulateMeshes(noVertices), 0);
    EXPECT_EQ(noVertices.meshes[0].polygons.size(), 1u);
}

TEST(Triangulate, AllocationFailureLeavesTheMeshAsItWas) {
    SceneDoc doc = docWithMesh({makeFan(7), makePolygon({0, 1, 2, 3})});
    doc.meshes[0].weights_flag = 1;
    passtest::FailAllocation fail(0);
    EXPECT_EQ(passes::triangulateMeshes(doc), 0);
    EXPECT_TRUE(fail.triggered());
    EXPECT_EQ(doc.meshes[0].polygons.size(), 2u);
    EXPECT_EQ(doc.meshes[0].polygons[0].cornerCount(), 7);
    EXPECT_EQ(doc.meshes[0].weights_flag, 1);
}
