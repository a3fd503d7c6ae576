// Sized allocations, appends and clearing: names, refusals, and what an
// allocation failure leaves behind.
#include <gtest/gtest.h>

#include "document/document.h"
#include "failing_alloc.h"

namespace yfx {
namespace {

TEST(SizedAllocation, DefaultNamesOfEachSlot) {
    SceneDoc doc;
    ASSERT_EQ(allocateGroups(doc, 3), 1);
    EXPECT_STREQ(doc.groups[0].name.ansi, "YFXGroup0");
    EXPECT_STREQ(doc.groups[2].name.wide, L"YFXGroup2");

    ASSERT_EQ(allocateUVSets(doc, 2), 1);
    EXPECT_STREQ(doc.uvsets[0].name.ansi, "UVSet1");
    EXPECT_STREQ(doc.uvsets[1].name.wide, L"UVSet2");

    ASSERT_EQ(allocateMeshes(doc, 2), 1);
    EXPECT_STREQ(doc.meshes[0].name.text, L"YFXMesh0");
    EXPECT_STREQ(doc.meshes[1].name.text, L"YFXMesh1");

    ASSERT_EQ(allocateAnimations(doc, 2), 1);
    EXPECT_STREQ(doc.animations[1].name.ansi, "DefaultAnim");
    EXPECT_EQ(doc.animations[1].end_frame, 30.0f);

    DocMesh& mesh = doc.meshes[0];
    ASSERT_EQ(allocateMeshUVSets(mesh, 2, 0), 1);
    EXPECT_STREQ(mesh.uvsets[0].name.ansi, "UVSet0");
    EXPECT_STREQ(mesh.uvsets[1].name.wide, L"UVSet1");
    EXPECT_TRUE(mesh.uvsets[0].uvs.empty());
}

TEST(SizedAllocation, ReplacesTheOldArray) {
    SceneDoc doc;
    ASSERT_EQ(allocateLights(doc, 3), 1);
    doc.lights[0].intensity = 5.0f;
    ASSERT_EQ(allocateLights(doc, 2), 1);
    ASSERT_EQ(doc.lights.size(), 2u);
    EXPECT_EQ(doc.lights[0].intensity, 1.0f);
}

TEST(SizedAllocation, CountBelowOneIsRefusedAndKeepsTheSlot) {
    SceneDoc doc;
    ASSERT_EQ(allocateBones(doc, 2), 1);
    EXPECT_EQ(allocateBones(doc, 0), 0);
    EXPECT_EQ(allocateBones(doc, -4), 0);
    EXPECT_EQ(doc.bones.size(), 2u);

    ASSERT_EQ(allocateGroups(doc, 1), 1);
    EXPECT_EQ(allocateGroups(doc, 0), 0);
    EXPECT_EQ(doc.groups.size(), 1u);

    DocAnimation animation;
    ASSERT_EQ(allocateTracks(animation, 2), 1);
    EXPECT_EQ(allocateTracks(animation, 0), 0);
    EXPECT_EQ(animation.tracks.size(), 2u);
    ASSERT_EQ(allocateRotationKeys(animation.tracks[0], 3), 1);
    EXPECT_EQ(animation.tracks[0].rotation_keys[2].value[3], 1.0f);
    ASSERT_EQ(allocateScaleKeys(animation.tracks[0], 1), 1);
    EXPECT_EQ(animation.tracks[0].scale_keys[0].value[0], 1.0f);
}

TEST(SizedAllocation, MeshesVerticesAndFaceLinksAcceptZero) {
    SceneDoc doc;
    ASSERT_EQ(allocateVertices(doc, 4), 1);
    ASSERT_EQ(allocateMeshes(doc, 2), 1);
    ASSERT_EQ(allocateFaceLinks(doc, 2), 1);
    EXPECT_EQ(doc.face_links[1].indices[8], -1);

    EXPECT_EQ(allocateVertices(doc, 0), 1);
    EXPECT_EQ(allocateMeshes(doc, 0), 1);
    EXPECT_EQ(allocateFaceLinks(doc, 0), 1);
    EXPECT_TRUE(doc.vertices.empty());
    EXPECT_TRUE(doc.meshes.empty());
    EXPECT_TRUE(doc.face_links.empty());

    // A negative count from a damaged file is refused and changes nothing.
    ASSERT_EQ(allocateVertices(doc, 2), 1);
    EXPECT_EQ(allocateVertices(doc, -1), 0);
    EXPECT_EQ(doc.vertices.size(), 2u);
}

TEST(PreparePolygon, CornersAtLeastThreeAndOnlyOnce) {
    DocPolygon polygon;
    ASSERT_EQ(preparePolygon(polygon, 2), 1);
    ASSERT_EQ(polygon.cornerCount(), 3);
    for (const DocCorner& corner : polygon.corners) {
        EXPECT_EQ(corner.vertex, -1);
        EXPECT_EQ(corner.index2, -1);
        EXPECT_EQ(corner.flags, 0);
        for (const DocCornerUV& layer : corner.uv) {
            EXPECT_EQ(layer.index, -1);
            EXPECT_EQ(layer.second, -1);
        }
    }
    polygon.corners[0].vertex = 7;
    EXPECT_EQ(preparePolygon(polygon, 5), 0);
    EXPECT_EQ(polygon.cornerCount(), 3);
    EXPECT_EQ(polygon.corners[0].vertex, 7);

    DocPolygon big;
    ASSERT_EQ(preparePolygon(big, 9), 1);
    EXPECT_EQ(big.cornerCount(), 9);
    EXPECT_FALSE(big.corners.isInline());
    EXPECT_EQ(big.corners[8].uv[1].index, -1);

    DocPolygon quad;
    ASSERT_EQ(preparePolygon(quad, 4), 1);
    EXPECT_TRUE(quad.corners.isInline());
}

TEST(MeshUVs, SetCountsAndRefusals) {
    DocMesh mesh;
    EXPECT_EQ(allocateMeshUVSets(mesh, 0, 4), 0);
    EXPECT_EQ(allocateMeshUVSets(mesh, 3, 4), 0);
    ASSERT_EQ(allocateMeshUVSets(mesh, 1, 4), 1);
    ASSERT_EQ(mesh.uvsets.size(), 1u);
    EXPECT_EQ(mesh.uvsets[0].uvs.size(), 4u);
    // Set 1 does not exist on a mesh with one set: refused, nothing written.
    EXPECT_EQ(allocateMeshUVs(mesh, 1, 2), 0);
    EXPECT_EQ(mesh.uvsets.size(), 1u);

    DocMesh fresh;
    EXPECT_EQ(allocateMeshUVs(fresh, 2, 5), 0);
    EXPECT_EQ(allocateMeshUVs(fresh, 0, 0), 0);
    EXPECT_TRUE(fresh.uvsets.empty());
    ASSERT_EQ(allocateMeshUVs(fresh, 1, 5), 1);
    ASSERT_EQ(fresh.uvsets.size(), 2u);
    EXPECT_TRUE(fresh.uvsets[0].uvs.empty());
    EXPECT_EQ(fresh.uvsets[1].uvs.size(), 5u);
    EXPECT_STREQ(fresh.uvsets[1].name.ansi, "UVSet1");

    // Replacing set 1's UVs drops its links too.
    ASSERT_EQ(allocateUVLinks(fresh.uvsets[1], 3), 1);
    fresh.uvsets[1].uvs[0].u = 0.5f;
    ASSERT_EQ(allocateMeshUVs(fresh, 1, 2), 1);
    EXPECT_TRUE(fresh.uvsets[1].links.empty());
    EXPECT_EQ(fresh.uvsets[1].uvs.size(), 2u);
    EXPECT_EQ(fresh.uvsets[1].uvs[0].u, 0.0f);
}

TEST(MapLayers, CountRules) {
    DocMap map;
    ASSERT_EQ(allocateMapLayers(map, 3), 1);
    ASSERT_EQ(map.layers.size(), 3u);
    EXPECT_EQ(map.layers[2].layer_float, 1.0f);
    EXPECT_EQ(map.layers[2].layer_int, 0);
    EXPECT_EQ(allocateMapLayers(map, -1), 0);
    EXPECT_EQ(map.layers.size(), 3u);
    EXPECT_EQ(allocateMapLayers(map, 0), 1);
    EXPECT_TRUE(map.layers.empty());
}

TEST(Append, MeshNamesFollowTheirIndexAndGroupsNeedAName) {
    SceneDoc doc;
    ASSERT_NE(addMesh(doc), nullptr);
    DocMesh* second = addMesh(doc);
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second->name.text, L"YFXMesh1");

    EXPECT_EQ(addGroup(doc, nullptr), nullptr);
    EXPECT_TRUE(doc.groups.empty());
    DocGroup* group = addGroup(doc, L"Caf\u00e9 \u20ac \u4e00");
    ASSERT_NE(group, nullptr);
    EXPECT_STREQ(group->name.wide, L"Caf\u00e9 \u20ac \u4e00");
    EXPECT_STREQ(group->name.ansi, "Caf\xe9 \x80 ?");
    EXPECT_EQ(group->parent, -1);
}

TEST(Append, KeysStoreTimeAndValue) {
    DocTrack track;
    const float p[3] = {1, 2, 3};
    const float q[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    ASSERT_NE(addPositionKey(track, 0.25f, p), nullptr);
    ASSERT_NE(addRotationKey(track, 0.5f, q), nullptr);
    ASSERT_NE(addScaleKey(track, 0.75f, p), nullptr);
    EXPECT_EQ(track.position_keys[0].time, 0.25f);
    EXPECT_EQ(track.position_keys[0].value[2], 3.0f);
    EXPECT_EQ(track.rotation_keys[0].value[3], 0.5f);
    EXPECT_EQ(track.scale_keys[0].time, 0.75f);
}

TEST(Append, SubArraysMoveWithTheirRecords) {
    SceneDoc doc;
    DocMesh* mesh = addMesh(doc);
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(allocatePolygons(*mesh, 1), 1);
    ASSERT_EQ(preparePolygon(mesh->polygons[0], 6), 1);
    mesh->polygons[0].corners[5].vertex = 42;
    // Grow the mesh array well past its first block.
    for (int i = 0; i < 40; ++i) {
        ASSERT_NE(addMesh(doc), nullptr);
    }
    ASSERT_EQ(doc.meshes[0].polygons.size(), 1u);
    EXPECT_EQ(doc.meshes[0].polygons[0].corners[5].vertex, 42);
    EXPECT_STREQ(doc.meshes[40].name.text, L"YFXMesh40");
}

TEST(ClearDocument, EmptiesSlotsKeepsReaderFields) {
    SceneDoc doc;
    doc.version = 31;
    doc.uv_section_position = 1234;
    doc.reader_scratch = 99;
    doc.legacy_uv_count = 12;
    doc.section_counts[kSectionMeshes] = 3;
    doc.section_offsets[kSectionBones] = 400;
    ASSERT_EQ(allocateLights(doc, 1), 1);
    ASSERT_EQ(allocateCameras(doc, 1), 1);
    ASSERT_EQ(allocateMaterials(doc, 1), 1);
    ASSERT_NE(addMap(doc.materials[0], 0), nullptr);
    ASSERT_EQ(allocateGroups(doc, 1), 1);
    ASSERT_EQ(allocateVertices(doc, 1), 1);
    ASSERT_NE(addWeight(doc.vertices[0], 0, 1.0f), nullptr);
    ASSERT_EQ(allocateFaceLinks(doc, 1), 1);
    ASSERT_EQ(allocateUVSets(doc, 2), 1);
    ASSERT_EQ(allocateMeshes(doc, 1), 1);
    ASSERT_EQ(allocateBones(doc, 1), 1);
    ASSERT_EQ(allocateAnimations(doc, 1), 1);
    ASSERT_EQ(allocateSurfaces(doc, 1), 1);
    ASSERT_EQ(allocateGroupBuilds(doc, 1), 1);

    clearDocument(doc);
    EXPECT_TRUE(doc.lights.empty() && doc.cameras.empty() && doc.materials.empty());
    EXPECT_TRUE(doc.groups.empty() && doc.vertices.empty() && doc.face_links.empty());
    EXPECT_TRUE(doc.uvsets.empty() && doc.meshes.empty() && doc.bones.empty());
    EXPECT_TRUE(doc.animations.empty() && doc.surfaces.empty() && doc.group_builds.empty());
    EXPECT_EQ(doc.vertices.capacity(), 0u);
    for (int i = 0; i < kSectionCount; ++i) {
        EXPECT_EQ(doc.section_counts[i], 0);
        EXPECT_EQ(doc.section_offsets[i], 0u);
    }
    EXPECT_EQ(doc.legacy_uv_count, 0);
    EXPECT_EQ(doc.version, 31);
    EXPECT_EQ(doc.uv_section_position, 1234u);
    EXPECT_EQ(doc.reader_scratch, 99u);
}

// Fails each allocation of an operation in turn: a sized allocation must end
// with its slot empty and result 0, an append with the array unchanged.
TEST(AllocationFailure, SizedAllocationLeavesTheSlotEmpty) {
    SceneDoc doc;
    ASSERT_EQ(allocateMaterials(doc, 2), 1);
    int result = 0;
    {
        yfxtest::FailAllocation fail(0);
        result = allocateMaterials(doc, 5);
        ASSERT_TRUE(fail.triggered());
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(doc.materials.empty());

    DocMesh mesh;
    for (long k = 0;; ++k) {
        yfxtest::FailAllocation fail(k);
        result = allocateMeshUVSets(mesh, 2, 3);
        if (!fail.triggered()) {
            EXPECT_EQ(result, 1);
            break;
        }
        EXPECT_EQ(result, 0) << "allocation " << k;
        EXPECT_TRUE(mesh.uvsets.empty()) << "allocation " << k;
    }
    EXPECT_EQ(mesh.uvsets[1].uvs.size(), 3u);

    DocPolygon polygon;
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_EQ(preparePolygon(polygon, 12), 0);
    }
    EXPECT_EQ(polygon.cornerCount(), 0);
    EXPECT_EQ(preparePolygon(polygon, 12), 1); // not counted as prepared after the failure
}

TEST(AllocationFailure, AppendLeavesTheArrayAsItWas) {
    SceneDoc doc;
    ASSERT_NE(addBone(doc), nullptr);
    doc.bones[0].joint = 7;
    // Fill the block exactly so that the next append must move it.
    while (doc.bones.size() < doc.bones.capacity()) {
        ASSERT_NE(addBone(doc), nullptr);
    }
    const std::size_t count = doc.bones.size();
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_EQ(addBone(doc), nullptr);
        EXPECT_TRUE(fail.triggered());
    }
    EXPECT_EQ(doc.bones.size(), count);
    EXPECT_EQ(doc.bones[0].joint, 7);

    DocVertex vertex;
    for (int b = 0; b < 4; ++b) {
        ASSERT_NE(addWeight(vertex, b, 0.25f), nullptr);
    }
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_EQ(addWeight(vertex, 9, 0.5f), nullptr);
    }
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_EQ(addWeightSlot(vertex), nullptr);
    }
    ASSERT_EQ(vertex.weights.size(), 4u);
    EXPECT_EQ(vertex.weights[3].bone, 3);

    DocMaterial material;
    {
        yfxtest::FailAllocation fail(0);
        EXPECT_EQ(addMap(material, 0), nullptr);
    }
    EXPECT_TRUE(material.maps.empty());
}

} // namespace
} // namespace yfx
