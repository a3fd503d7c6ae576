#include "dzfloatproperty.h"
#include "dznode.h"
#include "dzquat.h"
#include "sdk_test_util.h"

using namespace sdktest;

namespace {

struct Pose {
    double pos[3];
    double rot[3]; // degrees
    double scale[3];
    double general;
    double origin[3];
    double orient[3]; // degrees, XYZ
    DzRotationOrder order;
};

void apply(DzNode& node, const Pose& p) {
    DzFloatProperty* pos[3] = {node.getXPosControl(), node.getYPosControl(), node.getZPosControl()};
    DzFloatProperty* rot[3] = {node.getXRotControl(), node.getYRotControl(), node.getZRotControl()};
    DzFloatProperty* scl[3] = {node.getXScaleControl(), node.getYScaleControl(),
                               node.getZScaleControl()};
    DzFloatProperty* ori[3] = {node.getOrientXControl(), node.getOrientYControl(),
                               node.getOrientZControl()};
    for (int i = 0; i < 3; ++i) {
        pos[i]->setValue(float(p.pos[i]));
        rot[i]->setValue(float(p.rot[i]));
        scl[i]->setValue(float(p.scale[i]));
        ori[i]->setValue(float(p.orient[i]));
    }
    node.getScaleControl()->setValue(float(p.general));
    node.setOrigin(DzVec3(float(p.origin[0]), float(p.origin[1]), float(p.origin[2])));
    node.setRotationOrder(p.order);
}

// The documented local transform, in column-vector form:
// translation(o - parentOrigin + T) * O * R * S * O^-1.
Mat4 expectedLocal(const Pose& p, const double parentOrigin[3]) {
    const Mat4 o = mul(axisRotation(2, p.orient[2]),
                       mul(axisRotation(1, p.orient[1]), axisRotation(0, p.orient[0])));
    Mat4 r = identity4();
    for (int step = 0; step < 3; ++step) {
        const int axis = p.order[step];
        r = mul(axisRotation(axis, p.rot[axis]), r); // later rotations act last
    }
    const Mat4 s = scaling(p.scale[0] * p.general, p.scale[1] * p.general, p.scale[2] * p.general);
    const Mat4 t = translation(p.origin[0] - parentOrigin[0] + p.pos[0],
                               p.origin[1] - parentOrigin[1] + p.pos[1],
                               p.origin[2] - parentOrigin[2] + p.pos[2]);
    return mul(t, mul(o, mul(r, mul(s, transpose(o)))));
}

const double kZero[3] = {0.0, 0.0, 0.0};

} // namespace

class TransformTest : public SceneFixture {};

TEST_F(TransformTest, WorldTransformsOfThreeLevelsMatchIndependentMatrices) {
    const Pose rootPose = {{1, 2, 3}, {10, 20, 30}, {1, 1, 1},           2.0,
                           {0, 0, 0}, {0, 0, 0},    DzRotationOrder::XYZ};
    const Pose midPose = {{0.5, 0, -1}, {-35, 15, 70}, {1, 2, 0.5},         1.0,
                          {0, 4, 0},    {5, 40, -20},  DzRotationOrder::YZX};
    const Pose leafPose = {{0, 0.25, 0}, {80, -10, 25}, {1.5, 1, 1},         0.5,
                           {1, 6, 0.5},  {-30, 0, 60},  DzRotationOrder::ZXY};
    auto* root = new DzNode();
    auto* mid = new DzNode();
    auto* leaf = new DzNode();
    ASSERT_EQ(root->addNodeChild(mid), DZ_NO_ERROR);
    ASSERT_EQ(mid->addNodeChild(leaf), DZ_NO_ERROR);
    dzScene->addNode(root);
    apply(*root, rootPose);
    apply(*mid, midPose);
    apply(*leaf, leafPose);

    const Mat4 wRoot = expectedLocal(rootPose, kZero);
    const Mat4 wMid = mul(wRoot, expectedLocal(midPose, rootPose.origin));
    const Mat4 wLeaf = mul(wMid, expectedLocal(leafPose, midPose.origin));
    expectNear(wRoot, fromHost(root->getWSTransform()), 1e-4);
    expectNear(wMid, fromHost(mid->getWSTransform()), 1e-4);
    expectNear(wLeaf, fromHost(leaf->getWSTransform()), 1e-4);
    expectNear(expectedLocal(leafPose, midPose.origin), fromHost(leaf->getLocalTransform()), 1e-4);
    // A root's local transform is its world transform.
    expectNear(wRoot, fromHost(root->getLocalTransform()), 1e-5);
}

TEST_F(TransformTest, EveryRotationOrderAppliesItsFirstAxisFirst) {
    const double angles[3] = {25.0, -40.0, 65.0};
    for (int order = 0; order < 6; ++order) {
        DzNode node;
        node.setRotationOrder(DzRotationOrder::RotOrder(order));
        node.getXRotControl()->setValue(float(angles[0]));
        node.getYRotControl()->setValue(float(angles[1]));
        node.getZRotControl()->setValue(float(angles[2]));
        Mat4 r = identity4();
        for (int step = 0; step < 3; ++step) {
            const int axis = DzRotationOrder(DzRotationOrder::RotOrder(order))[step];
            r = mul(axisRotation(axis, angles[axis]), r);
        }
        SCOPED_TRACE(DzRotationOrder(DzRotationOrder::RotOrder(order)).toString().toStdString());
        expectNear(r, fromHost(node.getLocalTransform()), 1e-5);
    }
}

TEST_F(TransformTest, KeyedTransformsAreEvaluatedAtTheAskedTime) {
    auto* parent = new DzNode();
    auto* child = new DzNode();
    parent->addNodeChild(child);
    dzScene->addNode(parent);
    parent->getYRotControl()->setValue(0, 0.0f);
    parent->getYRotControl()->setValue(4800, 90.0f);
    child->getXPosControl()->setValue(2.0f);

    // Half-way the parent has turned 45 degrees about Y: the child's offset follows.
    const DzMatrix3 half = child->getWSTransform(2400);
    const double s = std::sqrt(0.5);
    EXPECT_NEAR(half[3][0], 2.0 * s, 1e-5);
    EXPECT_NEAR(half[3][2], -2.0 * s, 1e-5);
    // The untimed getter reads at the scene's time.
    dzScene->setTime(4800);
    EXPECT_NEAR(child->getWSTransform()[3][2], -2.0, 1e-5);
    // Defaults ignore both the keys and the current values.
    const DzMatrix3 rest = child->getWSTransform(4800, true);
    EXPECT_TRUE(rest.isIdentity());
}

TEST_F(TransformTest, SetLocalTransformRebuildsTheSameMatrixUnderOrientation) {
    DzNode parent;
    auto* node = new DzNode();
    parent.addNodeChild(node);
    parent.setOrigin(DzVec3(1, 1, 1));
    node->setOrigin(DzVec3(3, 0, 2));
    node->setOrientation(DzQuat(DzRotationOrder::XYZ, DzVec3(0.3f, -0.5f, 0.9f)));
    node->setRotationOrder(DzRotationOrder::ZYX);

    const DzVec3 pos(4, -2, 7);
    const DzQuat rot(DzVec3(1, 2, -1), 0.8f);
    DzMatrix3 scale(true);
    scale = DzMatrix3(node->getOrientation()).inverse() * DzMatrix3::scaling(DzVec3(2, 3, 0.5f)) *
            DzMatrix3(node->getOrientation());
    node->setLocalTransform(240, pos, rot, scale);

    DzMatrix3 expected = scale * DzMatrix3(rot);
    expected.setTrans(pos);
    expectNear(fromHost(expected), fromHost(node->getLocalTransform(240)), 1e-4);
    // The timed form keys the properties at that time only.
    EXPECT_EQ(node->getXPosControl()->getNumKeys(), 1);
    EXPECT_EQ(node->getXPosControl()->getKeyTime(0), 240);
    parent.removeNodeChild(node);
    delete node;
}

TEST_F(TransformTest, AddingAChildInPlaceKeepsItsWorldPose) {
    auto* parent = new DzNode();
    auto* child = new DzNode();
    parent->getZRotControl()->setValue(30.0f);
    parent->getXPosControl()->setValue(5.0f);
    child->getYPosControl()->setValue(2.0f);
    child->getXRotControl()->setValue(15.0f);
    const DzMatrix3 before = child->getWSTransform();
    ASSERT_EQ(parent->addNodeChild(child, true), DZ_NO_ERROR);
    expectNear(fromHost(before), fromHost(child->getWSTransform()), 1e-4);
    dzScene->addNode(parent);
}

TEST_F(TransformTest, HierarchyRejectsCyclesAndSecondParents) {
    auto* a = new DzNode();
    auto* b = new DzNode();
    auto* c = new DzNode();
    ASSERT_EQ(a->addNodeChild(b), DZ_NO_ERROR);
    ASSERT_EQ(b->addNodeChild(c), DZ_NO_ERROR);
    EXPECT_EQ(c->addNodeChild(a), DZ_ILLEGAL_HIERARCHY_ERROR);
    EXPECT_EQ(a->addNodeChild(c), DZ_ILLEGAL_ARGUMENT_ERROR); // still b's child
    EXPECT_EQ(a->addNodeChild(a), DZ_ILLEGAL_ARGUMENT_ERROR);
    EXPECT_EQ(a->removeNodeChild(c), DZ_ILLEGAL_ARGUMENT_ERROR);
    ASSERT_EQ(b->removeNodeChild(c), DZ_NO_ERROR);
    EXPECT_EQ(a->addNodeChild(c), DZ_NO_ERROR);
    EXPECT_EQ(a->getNumNodeChildren(), 2);
    EXPECT_EQ(a->getNodeChild(1), c);
    EXPECT_EQ(a->getNodeChild(2), nullptr);
    dzScene->addNode(a);
    // Deleting a middle node detaches it from both sides.
    delete b;
    EXPECT_EQ(a->getNumNodeChildren(), 1);
    EXPECT_EQ(a->getNodeChild(0), c);
}

TEST(QuatTest, EulerAnglesRoundTripInEveryOrder) {
    const DzVec3 cases[] = {DzVec3(0.3f, -0.7f, 1.1f), DzVec3(-2.5f, 1.2f, 0.1f),
                            DzVec3(0.0f, 1.5707f, 0.4f), DzVec3(1.0f, -1.5707f, -0.6f)};
    for (int order = 0; order < 6; ++order) {
        for (const DzVec3& angles : cases) {
            const DzQuat q(DzRotationOrder(DzRotationOrder::RotOrder(order)), angles);
            DzVec3 back;
            q.getValue(DzRotationOrder(DzRotationOrder::RotOrder(order)), back);
            const DzQuat again(DzRotationOrder(DzRotationOrder::RotOrder(order)), back);
            EXPECT_TRUE(q.equals(again, 1e-4)) << "order " << order;
        }
    }
}

TEST(QuatTest, ProductMatchesMatrixProductAndMatrixRoundTrips) {
    const DzQuat a(DzVec3(1, 0, 0), 0.7f);
    const DzQuat b(DzVec3(0, 1, 1), -1.3f);
    const DzMatrix3 ab = DzMatrix3(a) * DzMatrix3(b);
    expectNear(fromHost(ab), fromHost(DzMatrix3(a * b)), 1e-5);
    // multVec agrees with the row-vector matrix.
    const DzVec3 v(0.2f, -3, 5);
    EXPECT_TRUE((a * b).multVec(v).equals(ab.multVec(v), 1e-4f));
    // A scaled rotation gives back the rotation.
    const DzMatrix3 scaled = DzMatrix3::scaling(DzVec3(2, 5, 0.5f)) * DzMatrix3(a * b);
    EXPECT_TRUE(DzQuat(scaled).equals(a * b, 1e-5));
    // A quaternion and its negation are the same rotation; a zero one is the identity.
    EXPECT_TRUE(DzQuat(0, 0, 0, 0).isIdentity());
    EXPECT_TRUE(DzQuat(0, 0, 0, -1).isIdentity());
}

TEST(Matrix3Test, InverseUndoesAnAffineTransform) {
    DzMatrix3 m = DzMatrix3::scaling(DzVec3(2, 3, 4)) * DzMatrix3(DzQuat(DzVec3(1, 1, 0), 0.5f));
    m.setTrans(DzVec3(7, -1, 3));
    const DzVec3 p(1, 2, 3);
    EXPECT_TRUE(m.inverse().multPnt(m.multPnt(p)).equals(p, 1e-4f));
    // A singular matrix inverts to the identity rather than to infinities.
    EXPECT_TRUE(DzMatrix3::scaling(DzVec3(1, 0, 1)).inverse().isIdentity());
    // setValue reads the first three columns of a row-major 4x4.
    const float v[16] = {1, 2, 3, 99, 4, 5, 6, 99, 7, 8, 9, 99, 10, 11, 12, 99};
    DzMatrix3 s;
    s.setValue(v);
    EXPECT_EQ(s[1][2], 6.0f);
    EXPECT_EQ(s[3][0], 10.0f);
}
