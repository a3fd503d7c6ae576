#include "dzbone.h"
#include "dzbonebinding.h"
#include "dzfacetmesh.h"
#include "dzfacetshape.h"
#include "dzfigure.h"
#include "dzobject.h"
#include "dzselectionmap.h"
#include "dzskinbinding.h"
#include "dzweightmap.h"
#include "sdk_test_util.h"

#include <QtCore/QPointer>

TEST(WeightMapTest, FloatAndIntegerWeightsConvertBothWays) {
    EXPECT_EQ(DzWeightMap::floatToWeight(0.0f), 0);
    EXPECT_EQ(DzWeightMap::floatToWeight(1.0f), DZ_WEIGHT_FULL);
    EXPECT_EQ(DzWeightMap::floatToWeight(1.5f), DZ_WEIGHT_FULL);
    EXPECT_EQ(DzWeightMap::floatToWeight(-0.5f), 0);
    EXPECT_EQ(DzWeightMap::floatToWeight(std::nanf("")), 0);
    EXPECT_FLOAT_EQ(DzWeightMap::weightToFloat(DZ_WEIGHT_FULL), 1.0f);
    EXPECT_FLOAT_EQ(DzWeightMap::weightToFloat(65535), 1.0f);
    // Every value comes back within half a raw step.
    for (float w = 0.0f; w <= 1.0f; w += 0.0371f) {
        EXPECT_NEAR(DzWeightMap::weightToFloat(DzWeightMap::floatToWeight(w)), w,
                    0.5f * DZ_WEIGHT_EPSILON + 1e-7f);
    }
    DzWeightMap map(3);
    map.getWeights()[1] = DzWeightMap::floatToWeight(0.7f);
    EXPECT_NEAR(map.getFloatWeight(1), 0.7, 1e-4);
    EXPECT_EQ(map.getFloatWeight(3), 0.0);
    EXPECT_EQ(map.getFloatWeight(-1), 0.0);
}

TEST(WeightMapTest, ResizeAndCancelEdit) {
    DzWeightMap map;
    EXPECT_EQ(map.getWeights(), nullptr);
    map.setNumWeights(2, false);
    map.setWeight(0, 100);
    map.setWeight(1, 200);
    map.setNumWeights(4, true);
    EXPECT_EQ(map.getWeight(1), 200);
    EXPECT_EQ(map.getWeight(3), 0);
    map.beginEdit();
    map.setNumWeights(5, false);
    EXPECT_TRUE(map.isEmpty());
    map.cancelEdit();
    EXPECT_EQ(map.getNumWeights(), 4);
    EXPECT_EQ(map.getWeight(0), 100);
    map.beginEdit();
    map.setWeight(0, 7);
    map.finishEdit();
    map.cancelEdit(); // nothing to undo after finishEdit
    EXPECT_EQ(map.getWeight(0), 7);
    map.setNumWeights(-3);
    EXPECT_EQ(map.getNumWeights(), 0);
}

class SkinTest : public SceneFixture {};

TEST_F(SkinTest, FigureMakesItsSkinBindingAndHandsItToItsObject) {
    auto* figure = new DzFigure();
    DzSkinBinding* skin = figure->getSkinBinding();
    ASSERT_NE(skin, nullptr);
    EXPECT_TRUE(skin->inherits("DzSkinBinding"));
    EXPECT_TRUE(skin->inherits("DzModifier"));
    EXPECT_EQ(skin->getFigure(), figure);

    auto* obj = new DzObject();
    auto* shape = new DzFacetShape();
    shape->setFacetMesh(new DzFacetMesh());
    obj->addShape(shape);
    figure->setObject(obj);
    ASSERT_EQ(obj->getNumModifiers(), 1);
    EXPECT_EQ(obj->getModifier(0), skin);

    // A new object gets the same skin; the old object is gone without taking it along.
    QPointer<DzObject> oldObj(obj);
    auto* next = new DzObject();
    figure->setObject(next);
    EXPECT_TRUE(oldObj.isNull());
    EXPECT_EQ(next->getModifier(0), skin);
    EXPECT_EQ(figure->getSkinBinding(), skin);
    dzScene->addNode(figure);
}

TEST_F(SkinTest, BoneBindingsOwnTheirMapsByReference) {
    auto* figure = new DzFigure();
    auto* bone = new DzBone();
    figure->addNodeChild(bone);
    dzScene->addNode(figure);
    DzSkinBinding* skin = figure->getSkinBinding();

    auto* binding = new DzBoneBinding();
    binding->setBone(bone);
    auto* map = new DzWeightMap(4, QString());
    QPointer<DzWeightMap> watch(map);
    ASSERT_EQ(binding->setWeights(map), DZ_NO_ERROR);
    ASSERT_EQ(skin->addBoneBinding(binding), DZ_NO_ERROR);
    EXPECT_EQ(skin->addBoneBinding(binding), DZ_ILLEGAL_OPERATION_ERROR);
    EXPECT_EQ(skin->addBoneBinding(nullptr), DZ_ILLEGAL_ARGUMENT_ERROR);
    EXPECT_EQ(skin->getNumBoneBindings(), 1);
    EXPECT_EQ(skin->getBoneBinding(0)->getBone(), bone);
    EXPECT_EQ(skin->findBoneBinding(bone), binding);
    EXPECT_EQ(binding->getFigure(), figure);
    // The same map may serve two bindings; it lives until both let go.
    auto* second = new DzBoneBinding();
    second->setBone(bone);
    second->setScaleWeights(map);
    skin->addBoneBinding(second);
    skin->removeBoneBinding(binding);
    EXPECT_FALSE(watch.isNull());
    second->setScaleWeights(nullptr);
    EXPECT_TRUE(watch.isNull());
    // A deleted bone reads back as none.
    EXPECT_EQ(second->getBone(), bone);
    delete bone;
    EXPECT_EQ(second->getBone(), nullptr);
    EXPECT_EQ(figure->getNumNodeChildren(), 0);
}

TEST_F(SkinTest, LocalMapsAverageIntoGeneralMaps) {
    auto* figure = new DzFigure();
    auto* bone = new DzBone();
    bone->setRotationOrder(DzRotationOrder::YZX); // first axis Y, then Z, then X
    figure->addNodeChild(bone);
    dzScene->addNode(figure);
    DzSkinBinding* skin = figure->getSkinBinding();

    auto makeMap = [](float a, float b) {
        auto* m = new DzWeightMap(2);
        m->setWeight(0, DzWeightMap::floatToWeight(a));
        m->setWeight(1, DzWeightMap::floatToWeight(b));
        return m;
    };
    auto* binding = new DzBoneBinding();
    binding->setBone(bone);
    binding->setLocalWeights(makeMap(0.2f, 1.0f), 0); // X: third axis
    binding->setLocalWeights(makeMap(0.4f, 0.0f), 1); // Y: first axis
    binding->setLocalWeights(makeMap(0.6f, 0.5f), 2); // Z: second axis
    EXPECT_EQ(binding->setLocalWeights(nullptr, 3), DZ_ILLEGAL_ARGUMENT_ERROR);
    skin->addBoneBinding(binding);
    auto* general = new DzBoneBinding();
    auto* keep = makeMap(0.9f, 0.1f);
    general->setWeights(keep);
    skin->addBoneBinding(general);
    EXPECT_TRUE(skin->isLocal());

    // The default average takes the second and third axes: Z and X.
    ASSERT_EQ(skin->convertToGeneralMaps(), DZ_NO_ERROR);
    EXPECT_TRUE(skin->isGeneral());
    ASSERT_NE(binding->getWeights(), nullptr);
    EXPECT_NEAR(binding->getWeights()->getFloatWeight(0), 0.4, 1e-4);
    EXPECT_NEAR(binding->getWeights()->getFloatWeight(1), 0.75, 1e-4);
    EXPECT_EQ(binding->getLocalWeights(0), nullptr);
    EXPECT_EQ(general->getWeights(), keep); // nothing local: left alone
    // Converting again changes nothing.
    DzWeightMap* converted = binding->getWeights();
    EXPECT_EQ(skin->convertToGeneralMaps(DzBoneBinding::USE_GENERAL_MAP), DZ_NO_ERROR);
    EXPECT_EQ(binding->getWeights(), converted);
}

TEST_F(SkinTest, MapsOfDifferentLengthsCannotBeAveraged) {
    auto* figure = new DzFigure();
    dzScene->addNode(figure);
    auto* binding = new DzBoneBinding();
    binding->setLocalWeights(new DzWeightMap(2), 1);
    binding->setLocalWeights(new DzWeightMap(3), 2);
    figure->getSkinBinding()->addBoneBinding(binding);
    EXPECT_EQ(figure->getSkinBinding()->convertToGeneralMaps(), DZ_OPERATION_FAILED_ERROR);
    EXPECT_TRUE(binding->hasLocalWeights());
    EXPECT_EQ(binding->getWeights(), nullptr);
}

TEST_F(SkinTest, GraftsAreListedOnTheirTarget) {
    auto* body = new DzFigure();
    auto* graft = new DzFigure();
    dzScene->addNode(body);
    dzScene->addNode(graft);
    EXPECT_FALSE(body->graftFigureIterator().hasNext());
    ASSERT_TRUE(graft->graftTo(body));
    EXPECT_FALSE(graft->graftTo(body));
    EXPECT_FALSE(body->graftTo(body));
    EXPECT_TRUE(graft->isGraftFollowing());
    EXPECT_EQ(graft->getFollowTarget(), body);
    DzWeakFigureListIterator it = body->graftFigureIterator();
    ASSERT_TRUE(it.hasNext());
    EXPECT_EQ(it.next().data(), graft);
    EXPECT_EQ(body->getNumGraftFigures(), 1);
    delete graft;
    EXPECT_EQ(body->getNumGraftFigures(), 0);
    EXPECT_FALSE(body->graftFigureIterator().hasNext());
}

TEST_F(SkinTest, SelectionMapPairsGroupsWithNodes) {
    auto* figure = new DzFigure();
    auto* hip = new DzBone();
    auto* head = new DzBone();
    figure->addNodeChild(hip);
    hip->addNodeChild(head);
    dzScene->addNode(figure);
    auto* map = new DzSelectionMap();
    figure->setSelectionMap(map);
    EXPECT_EQ(figure->getSelectionMap(), map);
    ASSERT_EQ(map->addPair(QStringLiteral("Hip"), hip), DZ_NO_ERROR);
    EXPECT_EQ(map->addPair(QStringLiteral("Hip"), head), DZ_ILLEGAL_OPERATION_ERROR);
    EXPECT_EQ(map->addPair(QString(), head), DZ_ILLEGAL_ARGUMENT_ERROR);
    EXPECT_EQ(map->addPair(QStringLiteral("Head"), nullptr), DZ_ILLEGAL_ARGUMENT_ERROR);
    EXPECT_EQ(map->findNodeForGroup(QStringLiteral("Hip")), hip);
    ASSERT_EQ(map->addPair(QStringLiteral("Hip"), head, true), DZ_NO_ERROR);
    EXPECT_EQ(map->getNumPairs(), 1);
    EXPECT_EQ(map->getPairNode(0), head);
    EXPECT_EQ(map->findGroupForNode(head), QStringLiteral("Hip"));
    EXPECT_EQ(map->findGroupForNode(hip), QString());
    // Bones count as skeleton members, depth first.
    DzBoneList bones;
    figure->getAllBones(bones);
    EXPECT_EQ(bones, DzBoneList({hip, head}));
    EXPECT_EQ(figure->findBone(QString()), hip);
    EXPECT_EQ(head->getSkeleton(), figure);
}
