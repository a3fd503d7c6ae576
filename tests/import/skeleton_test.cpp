// The figure and its bones: the hierarchy and placement of bones in chains,
// with second roots, parents after their children and parents that do not
// exist; baked animation keys; weight maps; and the bone each group's faces
// are given to, at every scale.
#include "import_support.h"

#include <dzapp.h>
#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzfigure.h>
#include <dzfloatproperty.h>
#include <dzselectionmap.h>
#include <dzskinbinding.h>
#include <dzweightmap.h>

#include <algorithm>
#include <cmath>

using namespace importtest;

namespace {

// One triangle in group "Body" whose first vertex is weighted to bone 0, so
// that the import takes the figure path.
yfx::SceneDoc skinnedTriangle() {
    yfx::SceneDoc doc;
    addGroups(doc, {"Body"});
    addVertex(doc, 0, 0, 0);
    addVertex(doc, 1, 0, 0);
    addVertex(doc, 0, 1, 0);
    addPolygon(doc, {0, 1, 2}, 0);
    doc.vertices[0].weights.push_back(yfx::DocWeight{0, 1.0f, 1});
    return doc;
}

void expectVec(float x, float y, float z, const DzVec3& v, const char* what) {
    EXPECT_NEAR(x, v.m_x, 1e-5) << what;
    EXPECT_NEAR(y, v.m_y, 1e-5) << what;
    EXPECT_NEAR(z, v.m_z, 1e-5) << what;
}

const DzFigure* onlyFigure() {
    const std::vector<DzNode*> figures = nodesOf("DzFigure");
    EXPECT_EQ(1u, figures.size());
    return figures.empty() ? nullptr : qobject_cast<DzFigure*>(figures[0]);
}

} // namespace

TEST_F(ImportTest, BonesFormTheirHierarchyUnderOneFigure) {
    yfx::SceneDoc doc = skinnedTriangle();
    addBone(doc, "Root", -1, 0, 0, 0);
    addBone(doc, "A", 0, 0, 1, 0);
    addBone(doc, "B", 1, 0, 1, 0);
    addBone(doc, "Tail", -1, 0, -1, 0); // a second root
    addBone(doc, "Shin", 6, 0, 1, 0);   // its parent comes after it
    addBone(doc, "Stray", 9, 0, 0, 5);  // no such parent
    addBone(doc, "Thigh", 0, 2, 0, 0);
    build(normalised(std::move(doc)), everyOption());

    const DzFigure* figure = onlyFigure();
    ASSERT_NE(nullptr, figure);
    EXPECT_EQ(QStringLiteral("Robot_Figure0"), figure->getName());
    struct Expected {
        const char* bone;
        const DzNode* parent;
        float origin[3];
    };
    const Expected expected[] = {
        {"Root", figure, {0, 0, 0}},        {"A", node("Root"), {0, 1, 0}},
        {"B", node("A"), {0, 2, 0}},        {"Tail", figure, {0, -1, 0}},
        {"Shin", node("Thigh"), {0, 1, 0}}, // placed with its parent's identity world
        {"Stray", figure, {0, 0, 5}},       {"Thigh", node("Root"), {2, 0, 0}},
    };
    for (const Expected& e : expected) {
        const DzNode* bone = node(e.bone);
        ASSERT_NE(nullptr, bone) << e.bone;
        EXPECT_TRUE(bone->inherits("DzBone")) << e.bone;
        EXPECT_EQ(e.parent, bone->getNodeParent()) << e.bone;
        expectVec(e.origin[0], e.origin[1], e.origin[2], bone->getOrigin(), e.bone);
    }
    expectVec(0, 2, 0, node("A")->getEndPoint(), "end of A: B's origin");
    expectVec(0, 2, 0, node("B")->getEndPoint(), "end of B: its own origin");
}

TEST_F(ImportTest, TheMeshReachesTheSceneWhenNoBoneCanBeARoot) {
    struct Case {
        const char* what;
        std::vector<int> parents; // one bone per entry
    };
    const Case cases[] = {
        {"weights without bones", {}},
        {"a two-bone parent cycle", {1, 0}},
        {"a self-parent", {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        freshScene();
        yfx::SceneDoc doc = skinnedTriangle();
        for (std::size_t b = 0; b < c.parents.size(); ++b) {
            addBone(doc, ("B" + std::to_string(b)).c_str(), c.parents[b], 0, float(b), 0);
        }
        build(normalised(std::move(doc)), everyOption());
        const DzFigure* figure = onlyFigure();
        ASSERT_NE(nullptr, figure);
        EXPECT_EQ(QStringLiteral("Robot_Figure0"), figure->getName());
        const DzFacetMesh* mesh = facetMeshOf(figure);
        ASSERT_NE(nullptr, mesh);
        EXPECT_EQ(3, mesh->getNumVertices());
        EXPECT_EQ(1, mesh->getNumFacets());
    }
}

TEST_F(ImportTest, AnimationIsBakedToOneKeyPerFrameOrThinnedToItsBudget) {
    struct Case {
        float fps;
        float lastKeyTime;
        int keys;
        int step;       // ticks per frame
        int stride = 1; // key k on frame min(k x stride, last frame)
        std::uint64_t budget = yfx::importer::kBakeSampleBudget;
    };
    const Case cases[] = {
        {24.0f, 1.0f, 25, 200},         // 24 frames a second, frames 0 to 24
        {std::nanf(""), 1.0f, 31, 160}, // no rate: 30
        {30.0f, 0.1f, 4, 160},          // 0.1f x 30 is a hair past frame 3: still on it
        {30.0f, 0.11f, 5, 160},         // between frames 3 and 4: up to frame 4
        {24.0f, -1.0f, 0, 200},         // a negative sample count
        {24.0f, 86401.0f, 0, 200},      // more than a day of frames
        // The keyed track alone counts against the budget (the second is empty).
        {24.0f, 1.0f, 25, 200, 1, 25},
        // Over the budget every k-th frame is kept, the first and the last too.
        {24.0f, 1.0f, 13, 200, 2, 24}, // 0, 2, ..., 24
        {24.0f, 1.0f, 6, 200, 5, 6},   // 0, 5, 10, 15, 20 and 24
        {24.0f, 1.0f, 2, 200, 24, 2},  // the first and the last
        {24.0f, 1.0f, 0, 200, 1, 1},   // not even those two: no keys
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "fps " << c.fps << " budget " << c.budget);
        freshScene();
        dzApp->takeWarnings();
        session_.bake_sample_budget = c.budget;
        yfx::SceneDoc doc = skinnedTriangle();
        addBone(doc, "Root", -1, 0, 0, 0);
        addBone(doc, "Child", 0, 0, 1, 0); // its track has no keys
        addBone(doc, "Leaf", 1, 0, 1, 0);  // beyond the animation's tracks
        doc.animations.resize(1);
        yfx::DocAnimation& animation = doc.animations[0];
        animation.frames_per_second = c.fps;
        animation.end_frame = 10.0f;
        animation.tracks.resize(2);
        animation.tracks[0].position_keys.push_back({c.lastKeyTime - 1.0f, {0, 0, 0}});
        animation.tracks[0].position_keys.push_back({c.lastKeyTime, {24, 0, 0}});
        build(normalised(std::move(doc)), everyOption());

        const DzFloatProperty* x = node("Root")->getXPosControl();
        ASSERT_EQ(c.keys, x->getNumKeys());
        const int lastFrame = int(std::ceil(c.lastKeyTime * 4800.0f / float(c.step) - 1e-3f));
        for (int k = 0; k < c.keys; ++k) {
            const int frame = std::min(k * c.stride, lastFrame);
            EXPECT_EQ(frame * c.step, x->getKeyTime(k)) << "key " << k;
            // The keys run from 0 at lastKeyTime - 1 to 24 at lastKeyTime; past the
            // last key the value holds.
            const double t = double(frame) * c.step / 4800.0;
            const double expected = 24.0 * std::min(1.0, t - double(c.lastKeyTime) + 1.0);
            EXPECT_NEAR(expected, x->getKeyValue(k), 1e-3) << "key " << k;
        }
        for (const char* other : {"Child", "Leaf"}) {
            EXPECT_EQ(0, node(other)->getXPosControl()->getNumKeys()) << other;
        }
        EXPECT_EQ(c.step * 10, dzScene->getAnimRange().getEnd());
        // What the budget did is said in the host's log, once.
        const QStringList warnings = dzApp->takeWarnings();
        if (c.stride > 1) {
            ASSERT_EQ(1, warnings.size());
            EXPECT_TRUE(warnings[0].contains(
                QStringLiteral("baked one frame in every %1, and the last (%2 frames)")
                    .arg(c.stride)
                    .arg(c.keys)))
                << warnings[0].toStdString();
        } else if (c.budget == 1) {
            ASSERT_EQ(1, warnings.size());
            EXPECT_TRUE(warnings[0].contains(QStringLiteral("imported without keys")));
        } else {
            EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QStringLiteral("; ")).toStdString();
        }
    }
}

TEST_F(ImportTest, PositionKeysMoveBonesAlongTheirRestAxes) {
    // A root turned 90 degrees about y at rest and a child turned 90 degrees
    // about z under it; each keyed one unit along its own x. The file's
    // positions are relative to rest along the bone's rest axes, so the root
    // moves along world -z and the child along the root's turned y, world y.
    const float half = std::sqrt(0.5f);
    yfx::SceneDoc doc = skinnedTriangle();
    addBone(doc, "Root", -1, 1, 2, 3).rotation[1] = half;
    doc.bones[0].rotation[3] = half;
    addBone(doc, "Child", 0, 0, 0, 4).rotation[2] = half;
    doc.bones[1].rotation[3] = half;
    doc.animations.resize(1);
    yfx::DocAnimation& animation = doc.animations[0];
    animation.frames_per_second = 30.0f;
    animation.tracks.resize(2);
    for (yfx::DocTrack& track : animation.tracks) {
        track.position_keys.push_back({0.0f, {0, 0, 0}});
        track.position_keys.push_back({1.0f / 30.0f, {1, 0, 0}});
    }
    build(normalised(std::move(doc)), everyOption());
    const DzTime frame1 = dzScene->getTimeStep();
    // At rest the child's origin is the root's plus its turned (0, 0, 4): (5, 2, 3);
    // at frame 1 the root's move takes it to z = 2 and its own to y = 3.
    struct Want {
        const char* bone;
        float x, y, z;
    };
    for (const Want& w : {Want{"Root", 1, 2, 2}, Want{"Child", 5, 3, 2}}) {
        const DzVec3 at = node(w.bone)->getWSTransform(frame1).row(3);
        expectVec(w.x, w.y, w.z, at, w.bone);
    }
    const DzVec3 child0 = node("Child")->getWSTransform(0).row(3);
    expectVec(5, 2, 3, child0, "Child at frame 0");
}

TEST(AnimationBake, OneBudgetServesTheAnimationsInTurn) {
    // Three animations of one keyed track, frames 0 to 24 each at 24 frames a
    // second, from a budget of 30: the first takes all 25 frames, the second
    // is thinned into the 5 samples left, the third gets none.
    yfx::SceneDoc doc;
    doc.animations.resize(3);
    for (yfx::DocAnimation& animation : doc.animations) {
        animation.frames_per_second = 24.0f;
        animation.tracks.resize(1);
        animation.tracks[0].position_keys.push_back({0.0f, {0, 0, 0}});
        animation.tracks[0].position_keys.push_back({1.0f, {1, 0, 0}});
    }
    std::uint64_t budget = 30;
    yfx::importer::BakedFrames baked[3];
    for (int a = 0; a < 3; ++a) {
        ASSERT_EQ(1, yfx::importer::bakeAnimation(doc, a, budget, &baked[a]));
    }
    EXPECT_EQ(0u, budget);
    EXPECT_FALSE(baked[0].thinned());
    EXPECT_EQ(25u, doc.animations[0].tracks[0].position_keys.size());
    EXPECT_EQ(6, baked[1].stride);
    const std::vector<yfx::DocPositionKey>& thinned = doc.animations[1].tracks[0].position_keys;
    ASSERT_EQ(5u, thinned.size());
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_FLOAT_EQ(0.25f * float(k), thinned[k].time) << k;
        EXPECT_FLOAT_EQ(0.25f * float(k), thinned[k].value[0]) << k;
    }
    EXPECT_TRUE(baked[2].over_budget);
    EXPECT_TRUE(doc.animations[2].tracks[0].position_keys.empty());
    EXPECT_EQ(0, yfx::importer::bakeAnimation(doc, 3, budget)); // no such animation
}

TEST_F(ImportTest, EachBoneWeightMapHoldsItsWeightOfEveryVertex) {
    yfx::SceneDoc doc = skinnedTriangle();
    for (int b = 0; b < 6; ++b) {
        addBone(doc, ("B" + std::to_string(b)).c_str(), -1, float(b), 0, 0);
    }
    doc.vertices[0].weights = {};
    doc.vertices[0].weights.push_back(yfx::DocWeight{2, 0.7f, 1});
    doc.vertices[0].weights.push_back(yfx::DocWeight{5, 0.3f, 1});
    doc.vertices[1].weights.push_back(yfx::DocWeight{2, 0.6f, 1}); // the first entry counts
    doc.vertices[1].weights.push_back(yfx::DocWeight{2, 0.4f, 1});
    build(normalised(std::move(doc)), everyOption());

    const DzFigure* figure = onlyFigure();
    ASSERT_NE(nullptr, figure);
    const DzSkinBinding* skin = figure->getSkinBinding();
    ASSERT_EQ(2, skin->getNumBoneBindings());
    const std::vector<std::pair<const char*, std::vector<double>>> expected = {
        {"B2", {0.7, 0.6, 0.0}}, {"B5", {0.3, 0.0, 0.0}}};
    for (int i = 0; i < 2; ++i) {
        const DzBoneBinding* binding = skin->getBoneBinding(i);
        const auto& e = expected[std::size_t(i)];
        EXPECT_EQ(node(e.first), binding->getBone());
        EXPECT_EQ(QString::fromLatin1(e.first) + QStringLiteral("_bind"), binding->getName());
        ASSERT_EQ(3, binding->getWeights()->getNumWeights());
        for (int v = 0; v < 3; ++v) {
            EXPECT_NEAR(e.second[std::size_t(v)], binding->getWeights()->getFloatWeight(v), 1e-4)
                << e.first << " vertex " << v;
        }
    }
}

TEST_F(ImportTest, GroupsGoToTheNearestBoneAtEveryScale) {
    // Each group is a triangle centred at (x, 0.5, 0); the bones are roots on
    // the x axis. Scaling moves group centres about the centre of the vertex
    // bounds, so the bones must move with them: at factor 10 group Near
    // (x = 1, bounds 0 to 1) would otherwise sit nearer to B. A group as near
    // to both bones goes to the lower index.
    struct Group {
        const char* name;
        float x;
        const char* bone;
    };
    struct Case {
        float scale;
        float boneX[2];
        std::vector<Group> groups;
    };
    const Case cases[] = {
        {1.0f, {0, 3}, {{"Far", 0, "A"}, {"Near", 1, "A"}}},
        {10.0f, {0, 3}, {{"Far", 0, "A"}, {"Near", 1, "A"}}},
        {1.0f, {3, -1}, {{"Tie", 1, "A"}, {"Left", -1, "B"}}},
    };
    for (const Case& c : cases) {
        freshScene();
        yfx::SceneDoc doc;
        for (const Group& g : c.groups) {
            addGroups(doc, {g.name});
            const int first = int(doc.vertices.size());
            addVertex(doc, g.x, 0, -1);
            addVertex(doc, g.x, 0, 1);
            addVertex(doc, g.x, 1, 0);
            addPolygon(doc, {first, first + 1, first + 2}, int(doc.groups.size()) - 1);
        }
        addBone(doc, "A", -1, c.boneX[0], 0, 0);
        addBone(doc, "B", -1, c.boneX[1], 0, 0);
        doc.vertices[0].weights.push_back(yfx::DocWeight{0, 1.0f, 1});
        build(normalised(std::move(doc)), everyOption(), c.scale);

        const DzFigure* figure = onlyFigure();
        ASSERT_NE(nullptr, figure);
        ASSERT_NE(nullptr, figure->getSelectionMap());
        EXPECT_EQ(QStringLiteral("MyFigure_selMap"), figure->getSelectionMap()->getName());
        for (const Group& g : c.groups) {
            EXPECT_EQ(node(g.bone),
                      figure->getSelectionMap()->findNodeForGroup(QString::fromLatin1(g.name)))
                << "scale " << c.scale << ", group " << g.name;
        }
    }
}
