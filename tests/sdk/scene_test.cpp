#include "dzbone.h"
#include "dzfigure.h"
#include "dznode.h"
#include "sdk_test_util.h"

#include <QtCore/QPointer>

class SceneTest : public SceneFixture {};

TEST_F(SceneTest, AddingATreeAddsEveryNodeOnceInOrder) {
    auto* figure = new DzFigure();
    auto* hip = new DzBone();
    auto* thigh = new DzBone();
    auto* spine = new DzBone();
    figure->addNodeChild(hip);
    hip->addNodeChild(thigh);
    hip->addNodeChild(spine);
    ASSERT_TRUE(dzScene->addNode(figure));
    // Nodes already in the scene, on their own or through their parent, are
    // accepted and not added twice.
    EXPECT_TRUE(dzScene->addNode(figure));
    EXPECT_TRUE(dzScene->addNode(hip));
    EXPECT_FALSE(dzScene->addNode(nullptr));
    ASSERT_EQ(dzScene->getNumNodes(), 4);
    EXPECT_EQ(dzScene->getNode(0), figure);
    EXPECT_EQ(dzScene->getNode(1), hip);
    EXPECT_EQ(dzScene->getNode(2), thigh);
    EXPECT_EQ(dzScene->getNode(3), spine);
    EXPECT_EQ(dzScene->getNode(4), nullptr);
    EXPECT_EQ(dzScene->findNodeIndex(spine), 3);

    // A child given to a scene node joins the scene.
    auto* foot = new DzBone();
    thigh->addNodeChild(foot);
    EXPECT_EQ(dzScene->findNodeIndex(foot), 4);
    // A scene node deleted elsewhere leaves the list and the indices close up.
    delete thigh;
    EXPECT_EQ(dzScene->getNumNodes(), 4);
    EXPECT_EQ(dzScene->findNodeIndex(spine), 2);
    EXPECT_EQ(dzScene->findNodeIndex(foot), 3);
    EXPECT_EQ(foot->getNodeParent(), nullptr);
}

// A figure built bone by bone the way an importer does it: each bone is made
// a child of its parent (or of the figure) and then added to the scene; the
// figure is added after its first bone.
TEST_F(SceneTest, FigureBuiltBoneByBoneHoldsEveryBoneOnce) {
    auto* figure = new DzFigure();
    auto* root = new DzBone();
    auto* a = new DzBone();
    auto* b = new DzBone();
    auto* secondRoot = new DzBone();
    ASSERT_EQ(figure->addNodeChild(root), DZ_NO_ERROR);
    ASSERT_TRUE(dzScene->addNode(figure));
    ASSERT_TRUE(dzScene->addNode(root));
    ASSERT_EQ(root->addNodeChild(a), DZ_NO_ERROR);
    ASSERT_TRUE(dzScene->addNode(a));
    ASSERT_EQ(a->addNodeChild(b), DZ_NO_ERROR);
    ASSERT_TRUE(dzScene->addNode(b));
    ASSERT_EQ(figure->addNodeChild(secondRoot), DZ_NO_ERROR);
    ASSERT_TRUE(dzScene->addNode(secondRoot));

    ASSERT_EQ(dzScene->getNumNodes(), 5);
    const DzNode* order[] = {figure, root, a, b, secondRoot};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(dzScene->getNode(i), order[i]) << i;
    }
    DzBoneList bones;
    figure->getAllBones(bones);
    EXPECT_EQ(bones, (DzBoneList{root, a, b, secondRoot}));
    EXPECT_EQ(b->getNodeParent(), a);
    EXPECT_EQ(b->getSkeleton(), figure);
}

TEST_F(SceneTest, FindNodeFollowsRenamesAndPrefersTheEarliestNode) {
    auto* a = new DzNode();
    auto* b = new DzNode();
    a->setName(QStringLiteral("lHand"));
    b->setName(QStringLiteral("lHand"));
    dzScene->addNode(a);
    dzScene->addNode(b);
    EXPECT_EQ(dzScene->findNode(QStringLiteral("lHand")), a);
    a->setName(QStringLiteral("rHand"));
    EXPECT_EQ(dzScene->findNode(QStringLiteral("lHand")), b);
    EXPECT_EQ(dzScene->findNode(QStringLiteral("rHand")), a);
    EXPECT_EQ(dzScene->findNode(QStringLiteral("lhand")), nullptr);
    b->setLabel(QStringLiteral("Left Hand"));
    EXPECT_EQ(dzScene->findNodeByLabel(QStringLiteral("Left Hand")), b);
    delete a;
    EXPECT_EQ(dzScene->findNode(QStringLiteral("rHand")), nullptr);
}

TEST_F(SceneTest, FramesFollowTheTimeStep) {
    EXPECT_EQ(dzScene->getTimeStep(), 160);
    EXPECT_EQ(dzScene->getPlayRange(), DzTimeRange(0, 4800));
    dzScene->setTimeStep(200);
    dzScene->setFrame(12);
    EXPECT_EQ(dzScene->getTime(), 2400);
    EXPECT_EQ(dzScene->getFrame(), 12);
    dzScene->setTime(2599);
    EXPECT_EQ(dzScene->getFrame(), 12);
    dzScene->setTime(-1);
    EXPECT_EQ(dzScene->getFrame(), -1); // rounded down, not toward zero
    dzScene->setTimeStep(0);            // ignored: a frame needs a positive step
    EXPECT_EQ(dzScene->getTimeStep(), 200);
    dzScene->setFrame(0x7fffffff); // clamped, no overflow
    EXPECT_EQ(dzScene->getTime(), DZ_MAX_TIME);

    DzTimeRange range = dzScene->getAnimRange();
    range.setStart(0);
    range.setEnd(200 * 24);
    dzScene->setAnimRange(range);
    dzScene->setPlayRange(range);
    EXPECT_EQ(dzScene->getAnimRange().getEnd(), 4800);
    EXPECT_EQ(dzScene->getPlayRange().getDuration(), 4800);
}

TEST(TimeRangeTest, IncludeAndDuration) {
    DzTimeRange r(10, 5);
    EXPECT_TRUE(r.isEmpty());
    r.include(7);
    EXPECT_EQ(r, DzTimeRange(7, 7));
    r.include(-3);
    EXPECT_EQ(r, DzTimeRange(-3, 7));
    EXPECT_TRUE(r.isIncluded(0));
    EXPECT_EQ(DZ_ETERNITY.getDuration(), DZ_MAX_TIME);
}

TEST(SceneLifeTest, DestroyDeletesEveryNodeAndClearsTheGlobal) {
    DzScene::create();
    EXPECT_EQ(DzScene::create(), dzScene); // a second create returns the same scene
    auto* parent = new DzNode();
    auto* child = new DzNode();
    parent->addNodeChild(child);
    dzScene->addNode(parent);
    QPointer<DzNode> p(parent), c(child);
    DzScene::destroy();
    EXPECT_EQ(dzScene, nullptr);
    EXPECT_TRUE(p.isNull());
    EXPECT_TRUE(c.isNull());
}
