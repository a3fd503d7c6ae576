// Splitting of polygons with five or more corners, and the use counts.
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "doc_builders.h"
#include "fail_allocation.h"
#include "normalise/triangulate.h"

using namespace yfx;
using passtest::addMeshWith;
using passtest::makePolygon;
using passtest::run;

namespace {

using Corners = std::vector<std::int32_t>;

std::vector<Corners> cornersOf(const DocMesh& mesh) {
    std::vector<Corners> out;
    for (const DocPolygon& polygon : mesh.polygons) {
        out.emplace_back();
        for (const DocCorner& corner : polygon.corners) {
            out.back().push_back(corner.vertex);
        }
    }
    return out;
}

SceneDoc docWithMesh(std::vector<DocPolygon> polygons) {
    SceneDoc doc;
    passtest::addVertices(doc, 16);
    addMeshWith(doc, std::move(polygons));
    return doc;
}

} // namespace

TEST(Triangulate, PentagonAndHexagonBecomeStripsWithTheirCornerData) {
    SceneDoc doc = docWithMesh({makePolygon({0, 1, 2, 3, 4}, 1, 2), makePolygon(run(6, 10))});
    doc.meshes[0].polygons[0].polygon_value2 = 77;
    EXPECT_EQ(normalise::triangulateMeshes(doc), 1);
    EXPECT_EQ(cornersOf(doc.meshes[0]), (std::vector<Corners>{{4, 0, 3},
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
        EXPECT_EQ(triangle.word2, 1);
        EXPECT_EQ(triangle.material, 2);
        EXPECT_EQ(triangle.polygon_value2, 77u);
        for (std::uint32_t c = 0; c < 3; ++c) {
            const DocCorner& corner = triangle.corners[c];
            EXPECT_EQ(corner.flags, flags[t][c]) << "triangle " << t << " corner " << c;
            EXPECT_EQ(corner.index2, passtest::index2Of(corner.vertex));
            EXPECT_EQ(corner.uv[0].second, passtest::uvSecondOf(0, corner.vertex));
            EXPECT_EQ(corner.uv[1].index, passtest::uvIndexOf(1, corner.vertex));
        }
    }
}

TEST(Triangulate, EveryStripCoversItsPolygonOnce) {
    for (std::int32_t n = 5; n <= 40; ++n) {
        SceneDoc doc = docWithMesh({makePolygon(run(n))});
        ASSERT_EQ(normalise::triangulateMeshes(doc), 1);
        ASSERT_EQ(doc.meshes[0].polygons.size(), std::size_t(n - 2));
        // Each outer edge once, forwards, with its flag; each inner edge twice, hidden.
        std::map<std::pair<int, int>, int> uses;
        for (const DocPolygon& triangle : doc.meshes[0].polygons) {
            for (std::uint32_t c = 0; c < 3; ++c) {
                const int a = triangle.corners[c].vertex;
                const int b = triangle.corners[(c + 1) % 3].vertex;
                EXPECT_EQ(triangle.corners[c].flags, b == (a + 1) % n ? 10 + a : 0);
                ++uses[{std::min(a, b), std::max(a, b)}];
            }
        }
        EXPECT_EQ(uses.size(), std::size_t(2 * n - 3));
        for (const auto& [edge, count] : uses) {
            const bool outer = edge.second - edge.first == 1 || edge.second - edge.first == n - 1;
            EXPECT_EQ(count, outer ? 1 : 2)
                << n << " corners, " << edge.first << "-" << edge.second;
        }
    }
}

TEST(Triangulate, TrianglesFirstThenQuadsShortPolygonsDroppedAndOnlyTheNameKept) {
    DocPolygon twoCorners = makePolygon({7, 8, 9});
    twoCorners.corners.truncate(2);
    SceneDoc doc = docWithMesh({makePolygon({0, 1, 2, 3}), makePolygon({4, 5, 6}), twoCorners,
                                makePolygon(run(5, 8)), makePolygon({1, 2, 3, 4}, 7)});
    doc.meshes[0].name.set(L"Body");
    doc.meshes[0].weights_flag = 1;
    EXPECT_EQ(normalise::triangulateMeshes(doc), 1);
    EXPECT_EQ(cornersOf(doc.meshes[0]),
              (std::vector<Corners>{
                  {4, 5, 6}, {12, 8, 11}, {8, 9, 11}, {11, 9, 10}, {0, 1, 2, 3}, {1, 2, 3, 4}}));
    EXPECT_EQ(doc.meshes[0].polygons[0].corners[2].flags, 12); // a triangle keeps its flags
    EXPECT_EQ(doc.meshes[0].polygons[5].group, 7);
    EXPECT_EQ(std::wstring(doc.meshes[0].name.text), L"Body");
    EXPECT_EQ(doc.meshes[0].weights_flag, 0);
}

TEST(Triangulate, UsesAreCountedAgainAndOtherMeshesStay) {
    SceneDoc doc = docWithMesh({makePolygon({0, 1, 2}, 0, 1), makePolygon({0, 1, 2, 3}, 9, -1)});
    doc.meshes[0].weights_flag = 1;
    addMeshWith(doc, {makePolygon({0, 1, 2, 3, 4}, 1, 1)});
    doc.groups.resize(2);
    doc.groups[0].group_value = 50;
    doc.groups[1].members.resize(4);
    doc.materials.resize(2);
    doc.materials[0].face_count = 40;
    EXPECT_EQ(normalise::triangulateMeshes(doc), 1);
    EXPECT_EQ(doc.meshes[0].weights_flag, 1);
    EXPECT_EQ(doc.groups[0].group_value, 1);
    EXPECT_EQ(doc.groups[1].group_value, 3);
    EXPECT_TRUE(doc.groups[1].members.empty());
    EXPECT_EQ(doc.materials[0].face_count, 0);
    EXPECT_EQ(doc.materials[1].face_count, 4);

    doc.vertices.clear(); // missing vertices: nothing happens
    EXPECT_EQ(normalise::triangulateMeshes(doc), 0);
    EXPECT_EQ(doc.groups[1].group_value, 3);
}

TEST(Triangulate, AllocationFailureLeavesTheMeshAsItWas) {
    SceneDoc doc = docWithMesh({makePolygon(run(7)), makePolygon({0, 1, 2, 3})});
    doc.meshes[0].weights_flag = 1;
    passtest::FailAllocation fail(0);
    EXPECT_EQ(normalise::triangulateMeshes(doc), 0);
    EXPECT_TRUE(fail.triggered());
    EXPECT_EQ(doc.meshes[0].polygons.size(), 2u);
    EXPECT_EQ(doc.meshes[0].weights_flag, 1);
}
