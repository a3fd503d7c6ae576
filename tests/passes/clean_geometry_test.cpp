// Removal of unreferenced vertices and of polygons with a repeated corner.
#include <gtest/gtest.h>

#include "doc_builders.h"
#include "fail_allocation.h"
#include "passes/clean_geometry.h"

using namespace yfx;
using passtest::addMeshWith;
using passtest::addVertices;
using passtest::makeFan;
using passtest::makePolygon;

namespace {

// Every corner that names a vertex still names the one it named before:
// vertex x positions are their original indices, index2 encodes it too.
void expectCornersKeepTheirVertices(const SceneDoc& doc) {
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            for (const DocCorner& corner : polygon.corners) {
                if (corner.vertex >= 0 && std::size_t(corner.vertex) < doc.vertices.size()) {
                    EXPECT_EQ(doc.vertices[std::size_t(corner.vertex)].position[0],
                              float(corner.index2 - passtest::index2Of(0)));
                }
            }
        }
    }
}

SceneDoc docWithUnusedVertices() {
    SceneDoc doc;
    addVertices(doc, 6);
    addWeight(doc.vertices[3], 7, 0.5f);
    addWeight(doc.vertices[0], 8, 1.0f);
    addMeshWith(doc, {makePolygon({1, 3, 5}, 0, 0), makePolygon({5, 4, 3}, 0, 0)});
    doc.face_links.resize(2);
    doc.uvsets.resize(2);
    doc.uvsets[1].links.resize(3);
    return doc;
}

} // namespace

TEST(CleanGeometry, UnreferencedVerticesGoAndCornersFollowTheirVertices) {
    SceneDoc doc = docWithUnusedVertices();
    EXPECT_EQ(passes::cleanGeometry(doc), 1);
    ASSERT_EQ(doc.vertices.size(), 4u);
    EXPECT_EQ(doc.vertices[1].position[0], 3.0f);
    ASSERT_EQ(doc.vertices[1].weights.size(), 1u); // the weight moved with its vertex
    EXPECT_EQ(doc.vertices[1].weights[0].bone, 7);
    const DocPolygon& second = doc.meshes[0].polygons[1];
    EXPECT_EQ(second.corners[0].vertex, 3);
    EXPECT_EQ(second.corners[1].vertex, 2);
    EXPECT_EQ(second.corners[2].vertex, 1);
    expectCornersKeepTheirVertices(doc);
    for (const DocVertex& vertex : doc.vertices) {
        EXPECT_EQ(vertex.vertex_word & kVertexUnusedMark, 0);
    }
    EXPECT_TRUE(doc.face_links.empty());
    EXPECT_TRUE(doc.uvsets[1].links.empty());
}

TEST(CleanGeometry, CornersOutsideThePoolNameNothingAndAreNotTouched) {
    SceneDoc doc;
    addVertices(doc, 3);
    addMeshWith(doc, {makePolygon({2, 99, -5})});
    EXPECT_EQ(passes::removeUnreferencedVertices(doc), 2);
    ASSERT_EQ(doc.vertices.size(), 1u);
    const DocPolygon& polygon = doc.meshes[0].polygons[0];
    EXPECT_EQ(polygon.corners[0].vertex, 0);
    EXPECT_EQ(polygon.corners[1].vertex, 99);
    EXPECT_EQ(polygon.corners[2].vertex, -5);

    SceneDoc none;
    addVertices(none, 2);
    addMeshWith(none, {makePolygon({5, 6, 7})});
    EXPECT_EQ(passes::removeUnreferencedVertices(none), 2);
    EXPECT_TRUE(none.vertices.empty());
}

TEST(CleanGeometry, NothingToRemoveKeepsFaceLinksAndMissingArraysDoNothing) {
    SceneDoc doc;
    addVertices(doc, 3);
    addMeshWith(doc, {makePolygon({0, 1, 2})});
    doc.face_links.resize(1);
    EXPECT_EQ(passes::cleanGeometry(doc), 1);
    EXPECT_EQ(doc.vertices.size(), 3u);
    EXPECT_EQ(doc.face_links.size(), 1u);

    SceneDoc noMeshes;
    addVertices(noMeshes, 3);
    EXPECT_EQ(passes::cleanGeometry(noMeshes), 0);
    EXPECT_EQ(noMeshes.vertices.size(), 3u);
}

TEST(CleanGeometry, RepeatedCornerPolygonsGoOnlyWithExactlyOneMesh) {
    SceneDoc doc;
    addVertices(doc, 4);
    DocMesh& mesh = addMeshWith(doc, {makePolygon({0, 1, 2}, 0), makePolygon({0, 1, 0}, 1),
                                      makePolygon({2, 3, 3, 1}, 2), makePolygon({1, 2, 3}, 3)});
    mesh.weights_flag = 1;
    mesh.name.set(L"FromFile");
    EXPECT_EQ(passes::removeRepeatedCornerPolygons(doc), 2);
    ASSERT_EQ(doc.meshes.size(), 1u);
    ASSERT_EQ(doc.meshes[0].polygons.size(), 2u);
    EXPECT_EQ(doc.meshes[0].polygons[0].group, 0);
    EXPECT_EQ(doc.meshes[0].polygons[1].group, 3);
    EXPECT_EQ(std::wstring(doc.meshes[0].name.text), L"YFXMesh0"); // a new default mesh
    EXPECT_EQ(doc.meshes[0].weights_flag, 0);

    SceneDoc two;
    addVertices(two, 3);
    addMeshWith(two, {makePolygon({0, 1, 0})});
    addMeshWith(two, {makePolygon({1, 2, 1})});
    EXPECT_EQ(passes::cleanGeometry(two), 1);
    EXPECT_EQ(two.meshes[0].polygons.size(), 1u);
    EXPECT_EQ(two.meshes[1].polygons.size(), 1u);

    SceneDoc allRepeated;
    addVertices(allRepeated, 2);
    addMeshWith(allRepeated, {makePolygon({0, 1, 1})});
    EXPECT_EQ(passes::removeRepeatedCornerPolygons(allRepeated), 1);
    EXPECT_TRUE(allRepeated.meshes.empty());
}

TEST(CleanGeometry, RepeatsAreFoundInLargePolygonsButUnnamedCornersNeverRepeat) {
    SceneDoc doc;
    addVertices(doc, 40);
    DocPolygon repeated = makeFan(30);
    repeated.corners[29].vertex = 0; // same vertex as the first corner
    DocPolygon unnamed = makePolygon({-1, -1, 50, 50, 1, 2});
    addMeshWith(doc, {makeFan(40), repeated, unnamed});
    EXPECT_EQ(passes::removeRepeatedCornerPolygons(doc), 1);
    ASSERT_EQ(doc.meshes[0].polygons.size(), 2u);
    EXPECT_EQ(doc.meshes[0].polygons[0].cornerCount(), 40);
    EXPECT_EQ(doc.meshes[0].polygons[1].cornerCount(), 6);
}

TEST(CleanGeometry, AllocationFailureLeavesEachArrayWholeAndConsistent) {
    for (long skip = 0;; ++skip) {
        SceneDoc doc = docWithUnusedVertices();
        doc.meshes[0].polygons.push_back(makePolygon({1, 1, 3}));
        int result;
        bool triggered;
        {
            passtest::FailAllocation fail(skip);
            result = passes::cleanGeometry(doc);
            triggered = fail.triggered();
        }
        expectCornersKeepTheirVertices(doc);
        ASSERT_TRUE(doc.vertices.size() == 6u || doc.vertices.size() == 4u);
        ASSERT_TRUE(doc.meshes[0].polygons.size() == 3u || doc.meshes[0].polygons.size() == 2u);
        if (!triggered) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(doc.meshes[0].polygons.size(), 2u);
            break;
        }
        EXPECT_EQ(result, 0) << "allocation " << skip;
    }
}
