// Light gathering: kind, colour, intensity, spot cone and placement.
#include "gather_test_scene.h"

#include <dzcolorproperty.h>
#include <dzdistantlight.h>
#include <dzpointlight.h>
#include <dzspotlight.h>

namespace gathertest {
namespace {

// A light of none of the three known kinds.
class AreaLight : public DzLight {
public:
    QColor getDiffuseColor() const override { return QColor(255, 128, 0); }
};

using LightTest = GatherTest;

TEST_F(LightTest, KindIntensityAndConeOfEachLight) {
    struct Case {
        const char* name;
        DzLight* light;
        float spread;    // spot lights only
        float intensity; // spot, point and distant lights
        int kind;
        float inner, storedSpread, storedIntensity;
    };
    const Case cases[] = {
        {"Narrow spot", new DzSpotLight(), 8.0f, 0.5f, 2, 0.0f, 8.0f, 0.5f},
        {"Wide spot", new DzSpotLight(), 40.0f, 2.0f, 2, 30.0f, 40.0f, 2.0f},
        {"Folded spot", new DzSpotLight(), -5.0f, 1.0f, 2, 0.0f, 1.0f, 1.0f},
        {"Bulb", new DzPointLight(), 0.0f, -2.0f, 0, 10.0f, 20.0f, 1.0f},
        {"Sun", new DzDistantLight(), 0.0f, 0.0f, 1, 10.0f, 20.0f, 0.0f},
        {"Panel", new AreaLight(), 0.0f, 0.0f, 1, 10.0f, 20.0f, 1.0f},
    };
    for (const Case& c : cases) {
        dzScene->addNode(c.light);
        c.light->setLabel(QString::fromLatin1(c.name));
        if (auto* distant = qobject_cast<DzDistantLight*>(c.light)) {
            distant->getIntensityControl()->setValue(c.intensity);
            distant->getDiffuseColorControl()->setColorValue(QColor(255, 128, 0));
        }
        if (auto* spot = qobject_cast<DzSpotLight*>(c.light)) {
            spot->getSpreadAngleControl()->setValue(c.spread);
        }
    }
    const yfx::SceneDoc& doc = gather();
    ASSERT_EQ(doc.lights.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const yfx::DocLight& light = doc.lights[i];
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(light.name.ansi, c.name);
        EXPECT_EQ(light.kind, c.kind);
        EXPECT_FLOAT_EQ(light.inner_angle, c.inner);
        EXPECT_FLOAT_EQ(light.spread_angle, c.storedSpread);
        EXPECT_FLOAT_EQ(light.intensity, c.storedIntensity);
        EXPECT_FLOAT_EQ(light.colour[0], 1.0f);
        EXPECT_FLOAT_EQ(light.colour[1], 128 / 255.0f);
        EXPECT_FLOAT_EQ(light.colour[2], 0.0f);
        EXPECT_FLOAT_EQ(light.colour[3], 1.0f);
    }
}

TEST_F(LightTest, PlacementIsTakenAtTimeZeroWithItsMatrixFacingAlongMinusZ) {
    // A spot at (1, 2, 3) at time 0 (moving later), turned 90 degrees about Y
    // (its Z axis becomes +X) under a parent moved 10 along Y.
    DzNode* rig = addNode("Rig");
    rig->getYPosControl()->setValue(10.0f);
    DzNode* spot = addNode<DzSpotLight>("Spot", rig);
    spot->getXPosControl()->setValue(0, 1.0f);
    spot->getXPosControl()->setValue(4800, 50.0f);
    spot->getYPosControl()->setValue(2.0f);
    spot->getZPosControl()->setValue(3.0f);
    spot->getYRotControl()->setValue(90.0f);
    spot->getScaleControl()->setValue(2.0f);
    dzScene->setPlayRange(DzTimeRange(3200, 4800));
    const yfx::SceneDoc& doc = gather();
    ASSERT_EQ(doc.lights.size(), 1u);
    const yfx::DocTransform& t = doc.lights[0].transform;
    const float position[3] = {1, 12, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(t.position[i], position[i], 1e-5f) << i;
        EXPECT_NEAR(t.scale[i], 2.0f, 1e-5f) << i;
    }
    // Columns: X (0, 0, 1), Y (0, 1, 0), Z (-1, 0, 0); no translation.
    const float matrix[16] = {0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(t.matrix[i], matrix[i], 1e-5f) << i;
    }
    for (float q : t.quaternion) {
        EXPECT_EQ(q, 0.0f);
    }
    for (float a : t.axes) {
        EXPECT_EQ(a, 0.0f);
    }
    for (float e : t.euler) {
        EXPECT_EQ(e, 0.0f);
    }
}

} // namespace
} // namespace gathertest
