// Removal of unreferenced vertices and of polygons with a repeated corner.
#include <gtest/gtest.h>

#include "doc_builders.h"
#include "fail_allocation.h"
#include "normalise/clean_geometry.h"

using namespace yfx;
using passtest::addMeshWith;
using passtest::addVertices;
using passtest::makePolygon;

namespace {

// Every corner that names a vertex still names the one it named before: a
// vertex's x is its original index, and so is the corner's index2 - 1000.
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

// Vertices 0 and 2 unused; a weight on vertex 3; face links in two places.
SceneDoc docWithUnusedVertices() {
    SceneDoc doc;
    addVertices(doc, 6);
    addWeight(doc.vertices[3], 7, 0.5f);
    addMeshWith(doc, {makePolygon({1, 3, 5}), makePolygon({5, 4, 3})});
    doc.face_links.resize(2);
    doc.uvsets.resize(2);
    doc.uvsets[1].links.resize(3);
    return doc;
}

} // namespace

TEST(CleanGeometry, UnreferencedVerticesGoAndCornersFollowTheirVertices) {
    SceneDoc doc = docWithUnusedVertices();
    EXPECT_EQ(normalise::cleanGeometry(doc), 1);
    ASSERT_EQ(doc.vertices.size(), 4u);
    ASSERT_EQ(doc.vertices[1].weights.size(), 1u); // the weight moved with its vertex
    EXPECT_EQ(doc.vertices[1].weights[0].bone, 7);
    EXPECT_EQ(doc.meshes[0].polygons[1].corners[0].vertex, 3);
    expectCornersKeepTheirVertices(doc);
    EXPECT_TRUE(doc.face_links.empty());
    EXPECT_TRUE(doc.uvsets[1].links.empty());

    SceneDoc untouched; // nothing removed: the face links stay
    addVertices(untouched, 3);
    addMeshWith(untouched, {makePolygon({0, 1, 2})});
    untouched.face_links.resize(1);
    EXPECT_EQ(normalise::cleanGeometry(untouched), 1);
    EXPECT_EQ(untouched.face_links.size(), 1u);
    untouched.meshes.clear();
    EXPECT_EQ(normalise::cleanGeometry(untouched), 0);
    EXPECT_EQ(untouched.vertices.size(), 3u);
}

TEST(CleanGeometry, CornersOutsideThePoolNameNothingAndAreNotTouched) {
    SceneDoc doc;
    addVertices(doc, 3);
    addMeshWith(doc, {makePolygon({2, 99, -5})});
    EXPECT_EQ(normalise::removeUnreferencedVertices(doc), 2);
    ASSERT_EQ(doc.vertices.size(), 1u);
    const DocPolygon& polygon = doc.meshes[0].polygons[0];
    EXPECT_EQ(polygon.corners[0].vertex, 0);
    EXPECT_EQ(polygon.corners[1].vertex, 99);
    EXPECT_EQ(polygon.corners[2].vertex, -5);

    addMeshWith(doc, {makePolygon({5, 6, 7})});
    doc.meshes.erase(doc.meshes.begin());
    EXPECT_EQ(normalise::removeUnreferencedVertices(doc), 1);
    EXPECT_TRUE(doc.vertices.empty());
}

TEST(CleanGeometry, RepeatedCornerPolygonsGoOnlyWithExactlyOneMesh) {
    SceneDoc doc;
    addVertices(doc, 40);
    DocPolygon repeatedFar = makePolygon(passtest::run(30)); // checked through the sorted path
    repeatedFar.corners[29].vertex = 0;
    DocMesh& mesh = addMeshWith(doc, {makePolygon({0, 1, 2}, 0), makePolygon({0, 1, 0}, 1),
                                      makePolygon({2, 3, 3, 1}, 2), repeatedFar,
                                      makePolygon({-1, -1, 50, 50, 1, 2}, 3),
                                      makePolygon(passtest::run(40), 4)});
    mesh.weights_flag = 1;
    EXPECT_EQ(normalise::removeRepeatedCornerPolygons(doc), 3);
    ASSERT_EQ(doc.meshes.size(), 1u);
    ASSERT_EQ(doc.meshes[0].polygons.size(), 3u);
    EXPECT_EQ(doc.meshes[0].polygons[1].group, 3); // unnamed corners never repeat
    EXPECT_EQ(doc.meshes[0].polygons[2].group, 4);
    EXPECT_EQ(std::wstring(doc.meshes[0].name.text), L"YFXMesh0"); // a new default mesh
    EXPECT_EQ(doc.meshes[0].weights_flag, 0);

    SceneDoc two;
    addVertices(two, 3);
    addMeshWith(two, {makePolygon({0, 1, 0})});
    addMeshWith(two, {makePolygon({1, 2, 1})});
    EXPECT_EQ(normalise::cleanGeometry(two), 1);
    ASSERT_EQ(two.meshes.size(), 2u);
    EXPECT_EQ(two.meshes[0].polygons.size() + two.meshes[1].polygons.size(), 2u);

    two.meshes.pop_back();
    EXPECT_EQ(normalise::removeRepeatedCornerPolygons(two), 1);
    EXPECT_TRUE(two.meshes.empty());
}

TEST(CleanGeometry, AllocationFailureLeavesEachArrayWholeAndConsistent) {
    for (long skip = 0;; ++skip) {
        SceneDoc doc = docWithUnusedVertices();
        doc.meshes[0].polygons.push_back(makePolygon({1, 1, 3}));
        int result;
        bool triggered;
        {
            passtest::FailAllocation fail(skip);
            result = normalise::cleanGeometry(doc);
            triggered = fail.triggered();
        }
        expectCornersKeepTheirVertices(doc);
        ASSERT_TRUE(doc.vertices.size() == 6u || doc.vertices.size() == 4u);
        ASSERT_TRUE(doc.meshes[0].polygons.size() == 3u || doc.meshes[0].polygons.size() == 2u);
        EXPECT_EQ(result, triggered ? 0 : 1) << "allocation " << skip;
        if (!triggered) {
            EXPECT_EQ(doc.meshes[0].polygons.size(), 2u);
            break;
        }
    }
}
