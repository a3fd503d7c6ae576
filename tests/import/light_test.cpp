// Host lights from the document's: the class each kind becomes, name,
// position, intensity, clamped colour, the spread angle of spot lights only,
// no lights with the option off, and the rotation of a placement without
// length.
#include "import_support.h"

#include "import/host_lights.h"

#include <dzcolorproperty.h>
#include <dzdistantlight.h>
#include <dzfloatproperty.h>
#include <dzquat.h>
#include <dzspotlight.h>

#include <cmath>

using namespace importtest;

TEST_F(ImportTest, LightsTakeTheirKindNamePlaceAndClampedColour) {
    struct Case {
        int option;
        int kind;
        float rgb[3];
        const char* hostClass; // null: no light
        QColor colour;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {1, 0, {1.0f, 0.5f, 0.0f}, "DzPointLight", QColor(255, 127, 0)},
        {1, 3, {1.5f, -0.2f, nan}, "DzPointLight", QColor(255, 0, 0)},
        {1, -1, {0.0f, 0.0f, 1.0f}, "DzPointLight", QColor(0, 0, 255)},
        {1, 1, {1.0f, 1.0f, 1.0f}, "DzDistantLight", QColor(255, 255, 255)},
        {1, 2, {0.2f, 0.4f, 0.6f}, "DzSpotLight", QColor(51, 102, 153)},
        {0, 2, {1.0f, 1.0f, 1.0f}, nullptr, QColor()},
    };
    for (const Case& c : cases) {
        freshScene();
        yfx::SceneDoc doc;
        doc.lights.resize(1);
        yfx::DocLight& record = doc.lights[0];
        record.name.setAnsi("Lamp");
        record.kind = c.kind;
        std::copy(c.rgb, c.rgb + 3, record.colour);
        record.intensity = 0.75f;
        record.spread_angle = 45.0f;
        record.transform.position[0] = 1.0f;
        record.transform.position[1] = 2.0f;
        record.transform.position[2] = 3.0f;
        ImportOptions options = everyOption();
        options.import_lights = c.option;
        build(normalised(std::move(doc)), options);

        const std::vector<DzNode*> lights = nodesOf("DzLight");
        if (c.hostClass == nullptr) {
            EXPECT_TRUE(lights.empty()) << "kind " << c.kind;
            continue;
        }
        ASSERT_EQ(1u, lights.size()) << "kind " << c.kind;
        const auto* light = qobject_cast<DzDistantLight*>(lights[0]);
        ASSERT_NE(nullptr, light);
        EXPECT_EQ(QString::fromLatin1(c.hostClass), light->className()) << "kind " << c.kind;
        EXPECT_EQ(QStringLiteral("Lamp"), light->getLabel());
        EXPECT_EQ(c.colour, light->getDiffuseColorControl()->getColorValue()) << "kind " << c.kind;
        EXPECT_FLOAT_EQ(0.75f, float(light->getIntensityControl()->getValue()));
        const DzVec3 at = light->getWSTransform().row(3);
        EXPECT_NEAR(1.0f, at.m_x, 1e-5);
        EXPECT_NEAR(2.0f, at.m_y, 1e-5);
        EXPECT_NEAR(3.0f, at.m_z, 1e-5);
        if (const auto* spot = qobject_cast<const DzSpotLight*>(light)) {
            EXPECT_FLOAT_EQ(45.0f, float(spot->getSpreadAngleControl()->getValue()));
        }
    }
}

TEST(LightRotation, IsTheInverseOfTheUnitPlacementOrTheIdentity) {
    struct Case {
        float q[4];
        DzQuat expected;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {{0, 0, 0, 0}, DzQuat(0, 0, 0, 1)},
        {{nan, 0, 0, 1}, DzQuat(0, 0, 0, 1)},
        {{0, 0, 0, 2}, DzQuat(0, 0, 0, 1)},
        {{0, 1.2f, 0, 1.6f}, DzQuat(0, -0.6, 0, 0.8, false)},
    };
    for (const Case& c : cases) {
        const DzQuat r = yfx::importer::hostLightRotation(c.q);
        EXPECT_TRUE(r.equals(c.expected))
            << c.q[0] << " " << c.q[1] << " " << c.q[2] << " " << c.q[3] << " gave " << r.m_x << " "
            << r.m_y << " " << r.m_z << " " << r.m_w;
    }
}
