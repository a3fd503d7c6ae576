// The reader's sequence of passes on a document as a file gives it.
#include <gtest/gtest.h>

#include "doc_builders.h"
#include "normalise/post_parse.h"

using namespace yfx;
using passtest::makePolygon;

TEST(PostParse, PassesRunInOrderOnAReadDocument) {
    SceneDoc doc;
    passtest::addVertices(doc, 7); // vertex 6 is used by no polygon
    addWeight(doc.vertices[6], 0, 0.5f);
    addWeight(doc.vertices[0], 0, 0.5f);
    addWeight(doc.vertices[0], 1, 0.5f);
    addWeight(doc.vertices[1], 1, 0.25f);
    ASSERT_EQ(allocateGroups(doc, 2), 1);
    doc.materials.resize(2);
    doc.bones.resize(2);
    doc.bones[1].parent = 0;
    doc.bones[1].position[1] = 3;
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2, 3, 4, 5}, 0, 1), makePolygon({0, 1, 1}, 1, 0),
                                makePolygon({2, 3, 4, 5}, 1, 0)});
    normalise::runPostParsePasses(doc);

    ASSERT_EQ(doc.vertices.size(), 6u);
    ASSERT_EQ(doc.meshes.size(), 1u);
    EXPECT_EQ(doc.meshes[0].polygons.size(), 5u); // 4 triangles, then the quad
    EXPECT_EQ(doc.groups[0].group_value, 4);
    EXPECT_EQ(doc.groups[1].group_value, 1);
    EXPECT_EQ(doc.materials[1].face_count, 4);
    EXPECT_EQ(doc.bones[0].weight_references, 1); // the removed vertex's weight is gone
    EXPECT_EQ(doc.bones[1].weight_references, 2);
    EXPECT_FLOAT_EQ(doc.vertices[1].weights[0].weight, 1.0f);
    EXPECT_EQ(doc.bones[0].tail[1], 3.0f);
    EXPECT_EQ(std::string(doc.groups[0].name.ansi), "YFXGroup0");
    ASSERT_EQ(doc.groups[0].members.size(), 2u); // group 0 from mesh 0, after triangulation
    EXPECT_EQ(doc.groups[0].members[0].polygon_count, 1);
    EXPECT_EQ(doc.groups[0].members[1].polygon_count, 4);
    EXPECT_STREQ(doc.bones[0].name.ansi, "0");
}
