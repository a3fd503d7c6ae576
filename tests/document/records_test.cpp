// Defaults of freshly created records that the writers, the reader and the
// processing passes rely on.
#include <gtest/gtest.h>

#include <cstring>

#include "document/document.h"

namespace yfx {
namespace {

const float kIdentity4[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void expectIdentity(const float* m) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m[i], kIdentity4[i]) << "element " << i;
    }
}

void expectIdentityTransform(const DocTransform& t) {
    const float axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(t.axes[i], axes[i]);
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t.position[i], 0.0f);
        EXPECT_EQ(t.scale[i], 1.0f);
        EXPECT_EQ(t.euler[i], 0.0f);
    }
    expectIdentity(t.matrix);
    EXPECT_EQ(t.quaternion[0], 0.0f);
    EXPECT_EQ(t.quaternion[3], 1.0f);
}

TEST(RecordDefaults, TransformIsThirtyEightFloatsInFileOrder) {
    DocTransform t;
    expectIdentityTransform(t);
    // The file stores the block as it is: offsets of the members must follow
    // one another without gaps.
    const char* base = reinterpret_cast<const char*>(&t);
    EXPECT_EQ(reinterpret_cast<const char*>(t.position) - base, 36);
    EXPECT_EQ(reinterpret_cast<const char*>(t.scale) - base, 48);
    EXPECT_EQ(reinterpret_cast<const char*>(t.matrix) - base, 60);
    EXPECT_EQ(reinterpret_cast<const char*>(t.quaternion) - base, 124);
    EXPECT_EQ(reinterpret_cast<const char*>(t.euler) - base, 140);
}

TEST(RecordDefaults, LightIsAWhiteDistantLight) {
    SceneDoc doc;
    DocLight* light = addLight(doc);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->tag, 1600);
    EXPECT_EQ(light->kind, kLightDistant);
    EXPECT_EQ(light->intensity, 1.0f);
    EXPECT_EQ(light->inner_angle, 10.0f);
    EXPECT_EQ(light->spread_angle, 20.0f);
    EXPECT_EQ(light->range_a, 2.0f);
    EXPECT_EQ(light->range_b, 8.0f);
    for (float c : light->colour) {
        EXPECT_EQ(c, 1.0f);
    }
    EXPECT_TRUE(light->name.empty());
    expectIdentityTransform(light->transform);
}

TEST(RecordDefaults, CameraParametersAndTransform) {
    SceneDoc doc;
    ASSERT_EQ(allocateCameras(doc, 1), 1);
    const DocCamera& camera = doc.cameras[0];
    EXPECT_EQ(camera.parameters[0], 45.0f);
    EXPECT_EQ(camera.parameters[1], 1.0f);
    EXPECT_EQ(camera.parameters[2], 1000.0f);
    EXPECT_EQ(camera.reserved, 0);
    expectIdentityTransform(camera.transform);
}

TEST(RecordDefaults, MaterialColoursShininessNoMaps) {
    SceneDoc doc;
    ASSERT_EQ(allocateMaterials(doc, 2), 1);
    const DocMaterial& m = doc.materials[1];
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m.diffuse[i], 1.0f);
        const float black = i == 3 ? 1.0f : 0.0f;
        EXPECT_EQ(m.colour2[i], black);
        EXPECT_EQ(m.colour3[i], black);
        EXPECT_EQ(m.colour4[i], black);
        EXPECT_EQ(m.colour5[i], black);
    }
    EXPECT_EQ(m.shininess, 128.0f);
    EXPECT_EQ(m.opacity, 1.0f);
    EXPECT_TRUE(m.maps.empty());
    EXPECT_EQ(m.diffuse_bytes[0], 255);
    EXPECT_EQ(m.diffuse_bytes[2], 255);

    DocMaterial* unassigned = addUnassignedMaterial(doc);
    ASSERT_NE(unassigned, nullptr);
    EXPECT_STREQ(unassigned->name.ansi, "Unassigned");
    EXPECT_STREQ(unassigned->name.wide, L"Unassigned");
    EXPECT_EQ(unassigned->shininess, 128.0f);
    EXPECT_EQ(unassigned->colour5[3], 1.0f);
}

TEST(RecordDefaults, MeshPolygonVertexBoneTrack) {
    SceneDoc doc;
    DocMesh* mesh = addMesh(doc);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->highest_vertex_index, -1);
    EXPECT_EQ(kNoPolygonVertexIndex, static_cast<std::int32_t>(0x80000001u));
    EXPECT_EQ(mesh->host_node, nullptr);

    DocPolygon polygon;
    EXPECT_EQ(polygon.group, -1);
    EXPECT_EQ(polygon.word2, -1);
    EXPECT_EQ(polygon.material, -1);
    EXPECT_EQ(polygon.cornerCount(), 0);
    EXPECT_EQ(polygon.uv_layer_count, 2);

    DocVertex vertex;
    EXPECT_EQ(vertex.colour[3], 1.0f);
    EXPECT_TRUE(vertex.weights.empty());

    DocBone* bone = addBone(doc);
    ASSERT_NE(bone, nullptr);
    EXPECT_EQ(bone->parent, -1);
    EXPECT_EQ(bone->mesh, -1);
    EXPECT_EQ(bone->rotation[3], 1.0f);
    EXPECT_EQ(bone->scale[1], 1.0f);
    EXPECT_EQ(std::memcmp(bone->host_matrix, kHostIdentity, sizeof kHostIdentity), 0);
    expectIdentity(bone->local_matrix);
    expectIdentity(bone->world_matrix);
    expectIdentity(bone->inverse_world_matrix);

    DocTrack track;
    EXPECT_EQ(track.parent, -1);
    expectIdentity(track.global_matrix);
    expectIdentity(track.local_matrix);

    DocFaceLink link;
    EXPECT_EQ(link.head, 0);
    EXPECT_EQ(link.tail, 0);
    for (std::int32_t index : link.indices) {
        EXPECT_EQ(index, -1);
    }
}

} // namespace
} // namespace yfx
