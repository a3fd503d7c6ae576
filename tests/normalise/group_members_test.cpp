// Group member lists from the mesh with the group's index.
#include <gtest/gtest.h>

#include "doc_builders.h"
#include "fail_allocation.h"
#include "normalise/group_members.h"

using namespace yfx;
using passtest::makePolygon;

TEST(GroupMembers, BuiltFromTheMeshWithTheGroupsIndexInMaterialOrder) {
    SceneDoc doc;
    doc.materials.resize(4);
    doc.groups.resize(3);
    doc.groups[2].members.resize(5);
    // Group indices all name group 2: the lists must not be built from them.
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2}, 2, 3), makePolygon({0, 1, 2}, 2, 0),
                                makePolygon({0, 1, 2}, 2, 3), makePolygon({0, 1, 2}, 2, -1),
                                makePolygon({0, 1, 2}, 2, 9)});
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2}, 2, -1)});
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2}, 2, 1)});
    doc.meshes.resize(2); // no mesh for group 2
    EXPECT_EQ(normalise::buildGroupMembers(doc), 1);
    ASSERT_EQ(doc.groups[0].members.size(), 2u);
    EXPECT_EQ(doc.groups[0].members[0].material, 0);
    EXPECT_EQ(doc.groups[0].members[0].polygon_count, 1);
    EXPECT_EQ(doc.groups[0].members[1].material, 3);
    EXPECT_EQ(doc.groups[0].members[1].polygon_count, 2);
    EXPECT_TRUE(doc.groups[1].members.empty());
    EXPECT_TRUE(doc.groups[2].members.empty());
}

TEST(GroupMembers, CountsDoNotLeakBetweenGroupsAndFailureLeavesAnEmptyList) {
    SceneDoc doc;
    doc.materials.resize(2);
    doc.groups.resize(2);
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2}, 0, 1)});
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2}, 0, 1), makePolygon({0, 1, 2}, 0, 1)});
    EXPECT_EQ(normalise::buildGroupMembers(doc), 1);
    ASSERT_EQ(doc.groups[1].members.size(), 1u);
    EXPECT_EQ(doc.groups[1].members[0].polygon_count, 2);

    passtest::FailAllocation fail(1); // the first group's list
    EXPECT_EQ(normalise::buildGroupMembers(doc), 0);
    EXPECT_TRUE(fail.triggered());
    EXPECT_TRUE(doc.groups[0].members.empty());
    ASSERT_EQ(doc.groups[1].members.size(), 1u);
    EXPECT_EQ(doc.groups[1].members[0].polygon_count, 2);

    SceneDoc noMaterials;
    noMaterials.groups.resize(1);
    noMaterials.groups[0].members.resize(1);
    passtest::addMeshWith(noMaterials, {makePolygon({0, 1, 2}, 0, 0)});
    EXPECT_EQ(normalise::buildGroupMembers(noMaterials), 0);
}
