// The scene walk: node order and node records, which nodes give meshes,
// lights or nothing, hidden nodes, the time the scene is read at, progress.
#include "gather_test_scene.h"

#include <dzbasiccamera.h>
#include <dzdistantlight.h>
#include <dzprogress.h>

namespace gathertest {
namespace {

using WalkTest = GatherTest;

TEST_F(WalkTest, HiddenGroupGivesNothingButItsChildrenDoAndNodeIndicesCountIt) {
    for (const int visibleOnly : {1, 0}) {
        SCOPED_TRACE(visibleOnly);
        startOver();
        // The scene lists the nodes as they joined: Group, Camera, Sun, Left,
        // Right, Spot camera; the walk goes depth first.
        DzNode* group = addTriangleNode("Group");
        addNode<DzBasicCamera>("Camera");
        DzNode* sun = addNode<DzDistantLight>("Sun");
        addTriangleNode("Left", group);
        addTriangleNode("Right", group);
        addNode<DzBasicCamera>("Spot camera", sun);
        group->setVisible(false);
        options().export_visible = visibleOnly;
        const yfx::SceneDoc& doc = gather();

        const wchar_t* names[] = {L"Group", L"Left", L"Right", L"Camera", L"Sun", L"Spot camera"};
        const int parents[] = {-1, 0, 0, -1, -1, 4};
        const int hiddenMeshes[] = {-1, 0, 1, -1, -1, -1};
        const int allMeshes[] = {0, 1, 2, -1, -1, -1};
        ASSERT_EQ(doc.bones.size(), 6u);
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_STREQ(doc.bones[i].name.wide, names[i]);
            EXPECT_EQ(doc.bones[i].parent, parents[i]) << i;
            EXPECT_EQ(doc.bones[i].mesh, (visibleOnly == 1 ? hiddenMeshes : allMeshes)[i]) << i;
        }
        ASSERT_EQ(doc.meshes.size(), visibleOnly == 1 ? 2u : 3u);
        EXPECT_STREQ(doc.meshes.back().name.text, L"Right");
        EXPECT_EQ(doc.meshes.back().host_node, dzScene->findNodeByLabel(QStringLiteral("Right")));
        ASSERT_EQ(doc.lights.size(), 1u);
        EXPECT_TRUE(doc.cameras.empty());
        EXPECT_TRUE(doc.animations.empty());
    }
}

TEST_F(WalkTest, NodeRecordsHoldClassFlagsParentsAndTransformsAtTheFirstFrame) {
    auto* figure = addNode<DzFigure>("Figure");
    DzNode* hip = addNode<DzBone>("Hip", figure);
    DzNode* thigh = addNode<DzBone>("Thigh", hip);
    DzNode* sword = addNode("Sword", thigh);
    DzNode* spine = addNode<DzBone>("Spine", hip);
    // The figure walks 1 along X per frame; the play range starts at frame 10.
    figure->getXPosControl()->setValue(0, 0.0f);
    figure->getXPosControl()->setValue(1600, 10.0f);
    hip->setOrigin(DzVec3(0, 1, 0));
    thigh->getZRotControl()->setValue(30.0f);
    dzScene->setPlayRange(DzTimeRange(1600, 4800));
    dzScene->setTime(100); // between two frames
    const yfx::SceneDoc& doc = gather();
    EXPECT_EQ(dzScene->getTime(), 100);

    struct Want {
        const DzNode* node;
        int parent, skel, root, joint;
    };
    const Want want[] = {{figure, -1, 1, 0, 0},
                         {hip, 0, 0, 1, 1},
                         {thigh, 1, 0, 0, 1},
                         {sword, 2, 0, 0, 0},
                         {spine, 1, 0, 0, 1}};
    ASSERT_EQ(doc.bones.size(), std::size(want));
    for (std::size_t i = 0; i < std::size(want); ++i) {
        const yfx::DocBone& bone = doc.bones[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(bone.host_node, want[i].node);
        EXPECT_EQ(bone.name.wide, want[i].node->getLabel().toStdWString());
        EXPECT_EQ(bone.parent, want[i].parent);
        EXPECT_EQ(bone.skeleton, want[i].skel);
        EXPECT_EQ(bone.root, want[i].root);
        EXPECT_EQ(bone.joint, want[i].joint);
        const DzMatrix3 expected = want[i].node->getWSTransform(1600, false);
        for (int e = 0; e < 12; ++e) {
            EXPECT_FLOAT_EQ(bone.host_matrix[e], expected[e / 3][e % 3]) << e;
        }
    }
    EXPECT_FLOAT_EQ(doc.bones[0].host_matrix[9], 10.0f);
}

TEST_F(WalkTest, PhasesReportProgressInsideTheWriteStepsProgressOnly) {
    addTriangleNode("B", addTriangleNode("A"));
    dzScene->setPlayRange(DzTimeRange(0, 160 * 4));
    options().export_animation = 1;
    std::vector<std::pair<QString, int>> phases; // finished inner progresses and their steps
    DzProgress::setListener([&](const DzProgress::Report& r) {
        if (r.kind == DzProgress::Report::Finished && r.depth == 2) {
            phases.emplace_back(r.info, r.currentStep);
        }
    });
    gather(); // without a progress of the write step none is made
    EXPECT_TRUE(phases.empty());
    {
        DzProgress write(QStringLiteral("Exporting"));
        session_.progress = &write;
        gather();
        session_.progress = nullptr;
    }
    DzProgress::setListener(DzProgress::Listener());
    const std::vector<std::pair<QString, int>> want = {{QStringLiteral("Gathering nodes"), 2},
                                                       {QStringLiteral("Gathering objects"), 2},
                                                       {QStringLiteral("Gathering animation"), 4}};
    EXPECT_EQ(phases, want);
}

} // namespace
} // namespace gathertest
