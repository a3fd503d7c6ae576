// The "Unassigned" group and material for polygons without one.
#include <gtest/gtest.h>

#include "doc_builders.h"
#include "fail_allocation.h"
#include "normalise/unassigned.h"

using namespace yfx;
using passtest::ansiName;
using passtest::makePolygon;

namespace {

SceneDoc docWithGroupsAndMaterials() {
    SceneDoc doc;
    addGroup(doc, L"Head");
    addGroup(doc, L"Body");
    doc.groups[1].members.push_back(DocGroupMember{1, 2});
    doc.groups[1].group_value = 2;
    doc.materials.resize(2);
    doc.materials[1].name.setAnsi("Skin");
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2}, -1, -1), makePolygon({0, 1, 2}, 1, 1),
                                makePolygon({0, 1, 2}, 0, -1), makePolygon({0, 1, 2}, 1, 1)});
    return doc;
}

} // namespace

TEST(Unassigned, GroupGoesInFrontAndEveryGroupIndexMovesUp) {
    SceneDoc doc = docWithGroupsAndMaterials();
    EXPECT_EQ(normalise::addUnassignedGroup(doc), 1);
    ASSERT_EQ(doc.groups.size(), 3u);
    EXPECT_EQ(ansiName(doc.groups[0].name), "Unassigned");
    EXPECT_EQ(passtest::wideName(doc.groups[0].name), L"Unassigned");
    EXPECT_EQ(ansiName(doc.groups[2].name), "Body");
    EXPECT_EQ(doc.groups[2].members.size(), 1u); // members moved with their group
    EXPECT_EQ(doc.groups[0].group_value, 1);
    const std::int32_t expected[4] = {0, 2, 1, 2};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(doc.meshes[0].polygons[std::size_t(p)].group, expected[p]);
        EXPECT_EQ(doc.meshes[0].polygons[std::size_t(p)].word2, expected[p]); // face group too
    }
    EXPECT_EQ(normalise::addUnassignedGroup(doc), 1); // nothing negative any more
    EXPECT_EQ(doc.groups.size(), 3u);
}

TEST(Unassigned, MaterialGoesInFrontAndMemberIndicesFollowTheirMaterials) {
    SceneDoc doc = docWithGroupsAndMaterials();
    EXPECT_EQ(normalise::addUnassignedMaterial(doc), 1);
    ASSERT_EQ(doc.materials.size(), 3u);
    EXPECT_EQ(ansiName(doc.materials[0].name), "Unassigned");
    EXPECT_EQ(ansiName(doc.materials[2].name), "Skin");
    EXPECT_EQ(doc.materials[0].face_count, 2);
    EXPECT_EQ(doc.meshes[0].polygons[0].material, 0);
    EXPECT_EQ(doc.meshes[0].polygons[1].material, 2);
    EXPECT_EQ(doc.groups[1].members[0].material, 2);
}

TEST(Unassigned, WithoutRecordsOneIsAppendedAndOnlyNegativeIndicesChange) {
    SceneDoc doc;
    passtest::addMeshWith(doc, {makePolygon({0, 1, 2}, -1, -1), makePolygon({0, 1, 2}, 4, 3)});
    EXPECT_EQ(normalise::addUnassignedGroup(doc), 1);
    EXPECT_EQ(normalise::addUnassignedMaterial(doc), 1);
    ASSERT_EQ(doc.groups.size(), 1u);
    ASSERT_EQ(doc.materials.size(), 1u);
    EXPECT_EQ(ansiName(doc.groups[0].name), "Unassigned");
    EXPECT_EQ(doc.materials[0].shininess, 128.0f);
    EXPECT_EQ(doc.meshes[0].polygons[0].group, 0);
    EXPECT_EQ(doc.meshes[0].polygons[0].word2, 0);
    EXPECT_EQ(doc.meshes[0].polygons[0].material, 0);
    EXPECT_EQ(doc.meshes[0].polygons[1].group, 4);
    EXPECT_EQ(doc.meshes[0].polygons[1].material, 3);
}

TEST(Unassigned, AllocationFailureLeavesTheDocumentAsItWas) {
    for (long skip = 0; skip < 2; ++skip) {
        SceneDoc doc = docWithGroupsAndMaterials();
        passtest::FailAllocation fail(skip);
        EXPECT_EQ(normalise::addUnassignedGroup(doc), 0);
        passtest::FailAllocation again(skip);
        EXPECT_EQ(normalise::addUnassignedMaterial(doc), 0);
        EXPECT_EQ(doc.groups.size() + doc.materials.size(), 4u);
        EXPECT_EQ(doc.meshes[0].polygons[0].group, -1);
        EXPECT_EQ(doc.meshes[0].polygons[1].material, 1);
    }
}
