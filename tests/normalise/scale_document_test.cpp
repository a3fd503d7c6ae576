// Scaling about the centre of the vertex bounds.
#include <gtest/gtest.h>

#include "doc_builders.h"
#include "normalise/scale_document.h"

using namespace yfx;

namespace {

void set3(float v[3], float x, float y, float z) {
    v[0] = x;
    v[1] = y;
    v[2] = z;
}

SceneDoc scene() {
    SceneDoc doc;
    DocBone* root = addBone(doc);
    set3(root->position, 2, 4, 0);
    root->world_matrix[3] = 2;
    DocBone* child = addBone(doc);
    child->parent = 0;
    set3(child->position, 1, 1, 1);
    DocLight* light = addLight(doc);
    set3(light->transform.position, 2, 2, -2);
    doc.cameras.resize(1);
    set3(doc.cameras[0].transform.position, 0, 0, 0);
    DocAnimation* animation = addAnimation(doc);
    allocateTracks(*animation, 1);
    const float p[3] = {1, 2, 3};
    const float q[4] = {0, 0, 0.6f, 0.8f};
    const float s[3] = {1, 3, 1};
    addPositionKey(animation->tracks[0], 0.5f, p);
    addRotationKey(animation->tracks[0], 0.5f, q);
    addScaleKey(animation->tracks[0], 0.5f, s);
    return doc;
}

void expect3(const float v[3], float x, float y, float z) {
    EXPECT_FLOAT_EQ(v[0], x);
    EXPECT_FLOAT_EQ(v[1], y);
    EXPECT_FLOAT_EQ(v[2], z);
}

} // namespace

TEST(ScaleDocument, AboutTheBoundsCentreWithChildBonesAndKeysRelative) {
    SceneDoc doc = scene();
    passtest::addVertices(doc, 3); // x from 0 to 2
    set3(doc.vertices[1].position, 1, 4, -2);
    normalise::scaleDocument(doc, 2.0f); // centre (1, 2, -1)
    expect3(doc.vertices[0].position, -1, -2, 1);
    expect3(doc.vertices[2].position, 3, -2, 1);
    expect3(doc.bones[0].position, 3, 6, 1);
    expect3(doc.bones[1].position, 2, 2, 2);
    expect3(doc.lights[0].transform.position, 3, 2, -3);
    EXPECT_FLOAT_EQ(doc.lights[0].range_a, 4.0f);
    EXPECT_FLOAT_EQ(doc.lights[0].range_b, 16.0f);
    expect3(doc.cameras[0].transform.position, -1, -2, 1);
    const DocTrack& track = doc.animations[0].tracks[0];
    expect3(track.position_keys[0].value, 2, 4, 6);
    EXPECT_FLOAT_EQ(track.position_keys[0].time, 0.5f);
    EXPECT_FLOAT_EQ(track.rotation_keys[0].value[2], 0.6f);
    expect3(track.scale_keys[0].value, 1, 3, 1);
    EXPECT_EQ(doc.bones[0].world_matrix[3], 2.0f); // matrices are not rescaled
}

TEST(ScaleDocument, WithoutVerticesAboutTheOrigin) {
    SceneDoc doc = scene();
    normalise::scaleDocument(doc, 0.5f);
    expect3(doc.bones[0].position, 1, 2, 0);
    expect3(doc.lights[0].transform.position, 1, 1, -1);
}
