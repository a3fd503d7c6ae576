// The zero pose: which values it zeroes, and that the scene is given back
// exactly (values, keys and their interpolation) before animation is sampled
// and on every way out.
#include "gather_test_scene.h"

#include <dzerclink.h>
#include <dzintproperty.h>
#include <dzpropertygroup.h>

#include <cmath>
#include <sstream>
#include <string>

#include "document/doc_host_transform.h"
#include "export/scene_walk.h"
#include "export/zero_pose.h"
#include "util/matrix_math.h"

namespace gathertest {
namespace {

// Every property of every node of the scene, as text: its keys, its own value
// and its value after controllers at a spread of times (between and beyond
// the keys) and its lock.
std::vector<std::string> sceneState() {
    static const DzTime probes[] = {-500, 0, 50, 800, 1600, 3000, 3360, 4000, 4800, 9000};
    std::vector<std::string> state;
    for (int n = 0; n < dzScene->getNumNodes(); ++n) {
        const DzNode* node = dzScene->getNode(n);
        for (int p = 0; p < node->getNumProperties(); ++p) {
            const DzProperty* property = node->getProperty(p);
            std::ostringstream line;
            line << node->getLabel().toStdString() << "/" << property->getName().toStdString()
                 << (property->isLocked() ? " locked" : "");
            if (const auto* f = qobject_cast<const DzFloatProperty*>(property)) {
                for (int k = 0; k < f->getNumKeys(); ++k) {
                    line << " key(" << f->getKeyTime(k) << ", " << f->getKeyValue(k) << ")";
                }
                for (const DzTime t : probes) {
                    line << " " << f->getRawValue(t) << "/" << f->getValue(t);
                }
            } else if (const auto* i = qobject_cast<const DzIntProperty*>(property)) {
                line << " " << i->getValue();
            }
            state.push_back(line.str());
        }
    }
    return state;
}

DzFloatProperty* addFloat(DzElement* element, const char* name, const char* path, float value) {
    auto* property = new DzFloatProperty(QString::fromLatin1(name), true, false, value);
    property->setPath(QString::fromLatin1(path));
    element->addProperty(property);
    return property;
}

using ZeroPoseTest = GatherTest;

TEST_F(ZeroPoseTest, ZeroesUnlockedFloatRotationsOfBonesOnlyAndGivesThemBack) {
    DzNode* figure = addNode<DzFigure>("Figure");
    DzNode* arm = addNode<DzBone>("Arm", figure);
    DzNode* prop = addNode("Prop", arm);
    arm->getZRotControl()->setValue(30.0f);
    arm->getYRotControl()->setValue(0, 5.0f);
    arm->getYRotControl()->setValue(4800, 15.0f);
    arm->getXRotControl()->setValue(40.0f);
    arm->getXRotControl()->lock(true);
    // Only a group named exactly "Rotation" counts, wherever it is.
    DzFloatProperty* twist = addFloat(arm, "Twist", "Extra/rotation", 5.0f);
    DzFloatProperty* bend = addFloat(arm, "Bend", "Extra/rotation/Rotation", 6.0f);
    auto* steps = new DzIntProperty(QStringLiteral("Steps"), false, false, 3);
    steps->setPath(QStringLiteral("Transforms/Rotation"));
    arm->addProperty(steps);
    figure->getYRotControl()->setValue(20.0f); // a figure is no bone
    prop->getYRotControl()->setValue(25.0f);   // nor is a prop below one
    dzScene->setTime(2400);
    const std::vector<std::string> before = sceneState();
    {
        yfx::exporter::ZeroPose pose;
        pose.apply(yfx::exporter::nodesInWalkOrder(*dzScene), 2400);
        EXPECT_EQ(pose.zeroedCount(), 3u);
        EXPECT_EQ(arm->getZRotControl()->getValue(), 0.0);
        EXPECT_EQ(arm->getYRotControl()->getValue(2400), 0.0);
        EXPECT_EQ(arm->getYRotControl()->getNumKeys(), 3); // the keyed value needs a key
        EXPECT_EQ(bend->getValue(), 0.0);
        EXPECT_EQ(arm->getXRotControl()->getValue(), 40.0);
        EXPECT_EQ(twist->getValue(), 5.0);
        EXPECT_EQ(steps->getValue(), 3);
        EXPECT_EQ(figure->getYRotControl()->getValue(), 20.0);
        EXPECT_EQ(prop->getYRotControl()->getValue(), 25.0);
        EXPECT_NE(sceneState(), before);
    } // the pose is given back when it goes out of scope
    EXPECT_EQ(sceneState(), before);
}

TEST_F(ZeroPoseTest, GatheringLeavesTheSceneAsItWasAndSamplesTheUsersOwnKeys) {
    // The play range is frames 0 to 20, so the zero pose is taken at frame 21
    // (time 3360): a key added there, a key already there (held constant up to
    // the next), and a value without keys.
    DzNode* figure = addNode<DzFigure>("Figure");
    DzNode* hip = addNode<DzBone>("Hip", figure);
    DzNode* thigh = addNode<DzBone>("Thigh", hip);
    figure->getYRotControl()->setValue(30.0f);
    hip->setOrigin(DzVec3(0, 1, 0));
    hip->getZRotControl()->setValue(0, 0.0f);
    hip->getZRotControl()->setValue(1600, 90.0f);
    hip->getXRotControl()->setValue(0, 10.0f);
    hip->getXRotControl()->setValue(3360, 20.0f, DzFloatProperty::CONSTANT_INTERP);
    hip->getXRotControl()->setValue(4800, 40.0f);
    hip->getYRotControl()->setValue(15.0f);
    thigh->getXRotControl()->setValue(45.0f);
    thigh->getXRotControl()->lock(true);
    // A pose dial of the figure drives the thigh's bend (keyed) and the toe's
    // twist (not keyed) on top of their own values.
    DzNode* toe = addNode<DzBone>("Toe", thigh);
    toe->getYRotControl()->setValue(15.0f);
    DzFloatProperty* dial = addFloat(figure, "Stride", "Pose Controls", 0.0f);
    dial->setValue(0, 0.5f);
    dial->setValue(4800, 1.0f);
    thigh->getZRotControl()->setValue(0, 5.0f);
    thigh->getZRotControl()->setValue(4800, 25.0f);
    thigh->getZRotControl()->insertController(new DzERCLink(dial, 30.0));
    toe->getYRotControl()->insertController(new DzERCLink(dial, -20.0));
    dzScene->setPlayRange(DzTimeRange(0, 20 * 160));
    dzScene->setTime(50);
    options().export_zeropose = 1;
    options().export_animation = 1;
    const std::vector<std::string> before = sceneState();
    const yfx::SceneDoc& doc = gather();
    EXPECT_EQ(sceneState(), before);
    EXPECT_EQ(dzScene->getTime(), 50);
    EXPECT_EQ(toe->getYRotControl()->getRawValue(), 15.0); // not its value after the link

    // Gathered in zero pose: the hip turns with the figure only, the locked
    // thigh keeps its turn.
    ASSERT_EQ(doc.bones.size(), 4u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(doc.bones[1].host_matrix[i], doc.bones[0].host_matrix[i], 1e-5f) << i;
    }
    EXPECT_GT(std::fabs(doc.bones[2].host_matrix[5] - doc.bones[1].host_matrix[5]), 0.1f);

    // Animation keys come from the user's own keys: the hip's rotation key at
    // each frame is the rotation of its own local transform then.
    ASSERT_EQ(doc.animations.size(), 1u);
    const yfx::DocTrack& track = doc.animations[0].tracks.at(1);
    ASSERT_EQ(track.rotation_keys.size(), 20u);
    for (int f : {0, 5, 10, 15, 19}) {
        const DzMatrix3 local = hip->getLocalTransform(f * 160, false);
        float m[16];
        yfx::hostToMatrix(&local[0][0], m);
        yfx::AffineDecomposition parts;
        yfx::decomposeAffine(m, parts);
        const float* q = track.rotation_keys[std::size_t(f)].value;
        const float dot =
            q[0] * parts.q[0] + q[1] * parts.q[1] + q[2] * parts.q[2] + q[3] * parts.q[3];
        EXPECT_NEAR(std::fabs(dot), 1.0f, 1e-4f) << "frame " << f;
    }
}

} // namespace
} // namespace gathertest
