#include "dzbone.h"
#include "dzboolproperty.h"
#include "dzcolorproperty.h"
#include "dzenumproperty.h"
#include "dzerclink.h"
#include "dzfloatproperty.h"
#include "dzpropertygroup.h"
#include "sdk_test_util.h"

#include <QtCore/QStringList>
#include <QtGui/QColor>

#include <type_traits>
#include <utility>

class PropertyTest : public SceneFixture {};

TEST_F(PropertyTest, KeyedFloatInterpolatesAndHoldsOutsideItsKeys) {
    DzFloatProperty p(QStringLiteral("XRotate"), true, false, 3.0f);
    EXPECT_DOUBLE_EQ(p.getValue(1000), 3.0); // no keys: one value
    p.setValue(4800, 20.0f);
    p.setValue(0, 10.0f); // out of order on purpose
    ASSERT_EQ(p.getNumKeys(), 2);
    EXPECT_EQ(p.getKeyTime(0), 0);
    EXPECT_EQ(p.getKeyTime(1), 4800);
    EXPECT_NEAR(p.getValue(1200), 12.5, 1e-9);
    EXPECT_DOUBLE_EQ(p.getValue(-50), 10.0);
    EXPECT_DOUBLE_EQ(p.getValue(9600), 20.0);
    // Setting at a keyed time replaces that key.
    p.setValue(4800, 30.0f);
    EXPECT_EQ(p.getNumKeys(), 2);
    EXPECT_DOUBLE_EQ(p.getValue(2400), 20.0);
    EXPECT_EQ(p.getKeyRange(), DzTimeRange(0, 4800));
}

TEST_F(PropertyTest, ConstantKeysHoldUntilTheNextKey) {
    DzFloatProperty p(QStringLiteral("Step"), true, false);
    p.setValue(0, 1.0f, DzFloatProperty::CONSTANT_INTERP);
    p.setValue(100, 5.0f);
    EXPECT_DOUBLE_EQ(p.getValue(99), 1.0);
    EXPECT_DOUBLE_EQ(p.getValue(100), 5.0);
}

// Whether deleteKeys(const DzTimeRange&) can be called on a T directly: the
// host's float and int properties redeclare only deleteKeys(int, int), which
// hides it, so code built here must not be able to call it either.
template <class T, class = void> struct DeletesKeysByRange : std::false_type {};
template <class T>
struct DeletesKeysByRange<T, decltype(void(std::declval<T&>().deleteKeys(DzTimeRange())))>
    : std::true_type {};
static_assert(DeletesKeysByRange<DzProperty>::value, "the base declares the range overload");
static_assert(!DeletesKeysByRange<DzFloatProperty>::value, "hidden, as in the host");
static_assert(!DeletesKeysByRange<DzIntProperty>::value, "hidden, as in the host");
static_assert(!DeletesKeysByRange<DzBoolProperty>::value, "hidden, as in the host");

TEST_F(PropertyTest, DeletingKeysInARangeKeepsTheOthersWithTheirInterpolation) {
    DzFloatProperty p(QStringLiteral("Step"), true, false);
    // DzFloatProperty hides the time-range overload, as the host's does.
    DzProperty& base = p;
    p.setValue(0, 1.0f, DzFloatProperty::CONSTANT_INTERP);
    p.setValue(100, 9.0f);
    p.setValue(200, 5.0f);
    p.setValue(300, 2.0f);
    EXPECT_EQ(base.deleteKeys(DzTimeRange(50, 100)), 1);
    ASSERT_EQ(p.getNumKeys(), 3);
    EXPECT_DOUBLE_EQ(p.getValue(199), 1.0);               // the first key still holds
    EXPECT_EQ(base.deleteKeys(DzTimeRange(300, 200)), 0); // an empty range deletes nothing
    EXPECT_EQ(base.deleteKeys(DzTimeRange(201, 299)), 0); // between keys: nothing
    EXPECT_EQ(p.deleteKeys(2, 9), 1);                     // by index, clamped: the key at 300
    EXPECT_EQ(p.deleteKeys(1, 0), 0);
    dzScene->setTime(150);
    EXPECT_EQ(base.deleteKeys(DzTimeRange(0, 200)), 2);
    EXPECT_FALSE(p.hasKeys());
    EXPECT_DOUBLE_EQ(p.getValue(0), 1.0); // the value it had at the scene time
}

TEST_F(PropertyTest, UntimedAccessWorksAtTheSceneTime) {
    DzFloatProperty p(QStringLiteral("X"), true, false);
    p.setValue(7.0f); // no keys: no key is added
    EXPECT_EQ(p.getNumKeys(), 0);
    p.setValue(0, 0.0f);
    dzScene->setTime(480);
    p.setValue(4.0f); // with keys: keyed at the current time
    EXPECT_EQ(p.getNumKeys(), 2);
    EXPECT_DOUBLE_EQ(p.getValue(), 4.0);
    dzScene->setTime(240);
    EXPECT_DOUBLE_EQ(p.getValue(), 2.0);
    p.deleteAllKeys();
    EXPECT_FALSE(p.hasKeys());
    EXPECT_DOUBLE_EQ(p.getValue(9999), 2.0); // keeps the value it had at the scene time
}

TEST_F(PropertyTest, LinksAddTheirSourcesShareToTheValueReadButNotToTheOwnValue) {
    auto* dial = new DzFloatProperty(QStringLiteral("Fist"), true, false);
    dial->setValue(0, 0.0f);
    dial->setValue(4800, 1.0f);
    DzBone finger;
    DzFloatProperty& bend = *finger.getZRotControl();
    bend.setValue(10.0f);
    bend.insertController(new DzERCLink(dial, 60.0, 2.0));
    auto* link = new DzERCLink(&bend, 0.5);
    dial->insertController(link); // a circle: refused, the link stays ours
    EXPECT_EQ(link->getOwner(), nullptr);
    EXPECT_EQ(dial->getNumControllers(), 0);
    delete link;
    auto* boost = new DzFloatProperty(QStringLiteral("Boost"), true, false, 3.0f);
    dial->insertController(new DzERCLink(boost, 0.25)); // a chain: 1/4 of the boost too
    EXPECT_EQ(bend.getNumControllers(), 1);
    EXPECT_EQ(bend.getController(0)->getOwner(), &bend);
    EXPECT_DOUBLE_EQ(bend.getRawValue(2400), 10.0);
    EXPECT_DOUBLE_EQ(bend.getValue(2400), 10.0 + 60.0 * (0.5 + 0.75) + 2.0);
    EXPECT_DOUBLE_EQ(bend.getValue(4800), 117.0);
    // The node turns by the value after the links.
    EXPECT_NEAR(std::fabs(finger.getLocalTransform(4800, false)[0][1]),
                std::sin(117.0 * M_PI / 180.0), 1e-5);

    // Setting and deleting keys works on the own value.
    dzScene->setTime(2400);
    bend.setValue(0, 4.0f);
    bend.deleteAllKeys();
    EXPECT_DOUBLE_EQ(bend.getRawValue(), 4.0);
    EXPECT_DOUBLE_EQ(bend.getValue(), 81.0);

    // A deleted link leaves the list; a deleted source adds nothing.
    delete dial->getController(0);
    EXPECT_EQ(dial->getNumControllers(), 0);
    EXPECT_DOUBLE_EQ(bend.getValue(), 36.0);
    delete dial;
    delete boost;
    EXPECT_DOUBLE_EQ(bend.getValue(), 4.0);
}

TEST_F(PropertyTest, PropertyThatCannotAnimateTakesNoKeys) {
    DzFloatProperty p(QStringLiteral("XOrigin"), false, false);
    p.setValue(100, 2.0f);
    p.setValue(200, 3.0f);
    EXPECT_EQ(p.getNumKeys(), 0);
    EXPECT_DOUBLE_EQ(p.getValue(100), 3.0);
}

TEST_F(PropertyTest, IntBasedPropertiesKeepTheirValueInRange) {
    DzBoolProperty b(QStringLiteral("Visible"), false, false, true);
    DzIntProperty& asInt = b; // the untimed integer calls are hidden on DzBoolProperty
    asInt.setValue(5);
    EXPECT_EQ(asInt.getValue(), 1);
    b.setValue(0, -3);
    EXPECT_EQ(b.getValue(0), 1);
    b.setBoolValue(false);
    EXPECT_FALSE(b.getBoolValue(123));

    DzEnumProperty e(QStringLiteral("UV Set"), false, false);
    e.addItem(QStringLiteral("Default"));
    e.addItem(QStringLiteral("Second"));
    e.setValue(1);
    EXPECT_EQ(e.getStringValue(), QStringLiteral("Second"));
    e.setValue(7); // no such item
    EXPECT_EQ(e.getValue(), 1);
    e.addItem(QStringLiteral("First"), 0); // the same item stays selected
    EXPECT_EQ(e.getStringValue(), QStringLiteral("Second"));
    EXPECT_FALSE(e.setValueFromString(QStringLiteral("Missing")));
    EXPECT_TRUE(e.setValueFromString(QStringLiteral("Default")));
    EXPECT_EQ(e.getValue(), 1);

    DzColorProperty c(QStringLiteral("Color"), false, false);
    EXPECT_EQ(c.getColorValue(), QColor(255, 255, 255));
    c.setColorValue(QColor(255, 127, 0, 200));
    EXPECT_EQ(c.getColorValue(), QColor(255, 127, 0, 200));
}

namespace {

// Names of the properties in every group called exactly "Rotation", found by
// the depth-first walk a zero-pose pass makes.
QStringList rotationGroupProperties(const DzPropertyGroup* g) {
    QStringList out;
    for (; g; g = g->getNextSibling()) {
        if (g->getName() == QStringLiteral("Rotation")) {
            for (int i = 0; i < g->getNumProperties(); ++i) {
                out << g->getProperty(i)->getName();
            }
        }
        out << rotationGroupProperties(g->getFirstChild());
    }
    return out;
}

} // namespace

TEST_F(PropertyTest, NodeRotationsSitInARotationGroup) {
    DzBone bone;
    auto* extra = new DzFloatProperty(QStringLiteral("Twist"), true, true);
    extra->setPath(QStringLiteral("Transforms/rotation")); // differs in case only
    ASSERT_EQ(bone.addProperty(extra), DZ_NO_ERROR);
    EXPECT_EQ(bone.addProperty(extra), DZ_ILLEGAL_OPERATION_ERROR);

    const QStringList names = rotationGroupProperties(bone.getPropertyGroups()->getFirstChild());
    EXPECT_EQ(names, QStringList({QStringLiteral("XRotate"), QStringLiteral("YRotate"),
                                  QStringLiteral("ZRotate")}));
    EXPECT_TRUE(
        bone.getPropertyGroups()->getAllPaths().contains(QStringLiteral("Transforms/rotation")));
    // The rotations are what a zero pose may change.
    DzFloatProperty* rx = bone.getXRotControl();
    EXPECT_TRUE(rx->canAnimate());
    EXPECT_FALSE(rx->isHidden());
    EXPECT_FALSE(rx->isLocked());
    EXPECT_FALSE(rx->isMappable());
    EXPECT_EQ(rx->getGroup()->getPath(), QStringLiteral("Transforms/Rotation"));
    EXPECT_EQ(bone.findProperty(QStringLiteral("xrotate"), false), rx);
    EXPECT_EQ(bone.findProperty(QStringLiteral("xrotate")), nullptr);

    // Removing gives the property back; deleting a property leaves no dangling entry.
    ASSERT_EQ(bone.removeProperty(extra), DZ_NO_ERROR);
    EXPECT_EQ(bone.findProperty(QStringLiteral("Twist")), nullptr);
    delete extra;
    auto* doomed = new DzFloatProperty(QStringLiteral("Doomed"), false, false);
    bone.addProperty(doomed);
    const int count = bone.getNumProperties();
    delete doomed;
    EXPECT_EQ(bone.getNumProperties(), count - 1);
}

TEST_F(PropertyTest, LabelsFallBackToNames) {
    DzNode node;
    node.setName(QStringLiteral("hip"));
    EXPECT_EQ(node.getLabel(), QStringLiteral("hip"));
    node.setLabel(QStringLiteral("Hip"));
    EXPECT_EQ(node.getLabel(), QStringLiteral("Hip"));
    EXPECT_EQ(node.getXPosControl()->getLabel(), QStringLiteral("X Translate"));
}
