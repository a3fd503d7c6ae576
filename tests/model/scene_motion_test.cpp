// Placing an animated model's nodes: each frame recomputes only what moves
// with time, and must key exactly what recomputing every node's world each
// frame keys (a reference kept here), bit for bit, on every transform
// property at every frame; nodes that do not move are placed once, untimed.
#include "model/host_nodes.h"
#include "model/host_placement.h"
#include "model/host_plan.h"
#include "model/node_poses.h"
#include "model/node_table.h"
#include "model/scene_motion.h"
#include "model/skeleton_plan.h"
#include "model/space_conversion.h"

#include <assimp/anim.h>
#include <assimp/scene.h>

#include <dzfloatproperty.h>
#include <dznode.h>
#include <dzscene.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace modeltest {
namespace {

using namespace yfx::model;

aiNode* addChild(aiNode* parent, const std::string& name, const aiMatrix4x4& local) {
    auto* node = new aiNode(name);
    node->mTransformation = local;
    node->mParent = parent;
    auto** children = new aiNode*[parent->mNumChildren + 1];
    for (unsigned c = 0; c < parent->mNumChildren; ++c) {
        children[c] = parent->mChildren[c];
    }
    children[parent->mNumChildren] = node;
    delete[] parent->mChildren;
    parent->mChildren = children;
    ++parent->mNumChildren;
    return node;
}

aiMatrix4x4 placed(float x, float y, float z, float turn, float scale) {
    return aiMatrix4x4(aiVector3D(scale, scale, scale),
                       aiQuaternion(aiVector3D(0.3f, 1, 0.2f).Normalize(), turn),
                       aiVector3D(x, y, z));
}

// Root -> Static0..4 (each holding a static child), Shelf -> Book (static,
// a sibling branch of the driver), Driver (moved and turned) -> Seat
// (static) and Rider (static) -> Spinner (turned) -> Tip (static). Keys at ticks 0, 5 and 12,
// 30 ticks a second: frames 0 to 12.
std::unique_ptr<aiScene> movingScene() {
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("Root");
    scene->mRootNode->mTransformation = placed(0.5f, 0, 0, 0.2f, 1.5f);
    for (int i = 0; i < 5; ++i) {
        aiNode* s = addChild(scene->mRootNode, "Static" + std::to_string(i),
                             placed(float(i), 0.25f, -1, 0.1f * float(i), 1));
        addChild(s, "StaticChild" + std::to_string(i), placed(0, 1, 0, 0.7f, 0.5f));
    }
    aiNode* shelf = addChild(scene->mRootNode, "Shelf", placed(-2, 0, 1, 0.4f, 2));
    addChild(shelf, "Book", placed(0.1f, 0.2f, 0.3f, 1.1f, 1));
    aiNode* driver = addChild(scene->mRootNode, "Driver", placed(1, 2, 3, 0.3f, 1));
    addChild(driver, "Seat", placed(0.2f, 0.1f, 0, 0.6f, 1));
    aiNode* rider = addChild(driver, "Rider", placed(0, 0.5f, 0, 0.9f, 0.8f));
    aiNode* spinner = addChild(rider, "Spinner", placed(0, 0, 0.7f, 0, 1));
    addChild(spinner, "Tip", placed(0.3f, 0, 0, 0.25f, 1.25f));
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial* [1] { new aiMaterial() };

    auto* anim = new aiAnimation();
    anim->mName = aiString("Move");
    anim->mTicksPerSecond = 30;
    anim->mDuration = 12;
    const double ticks[] = {0, 5, 12};
    auto* moves = new aiNodeAnim();
    moves->mNodeName = aiString("Driver");
    moves->mNumPositionKeys = 3;
    moves->mPositionKeys = new aiVectorKey[3];
    moves->mNumRotationKeys = 3;
    moves->mRotationKeys = new aiQuatKey[3];
    auto* turns = new aiNodeAnim();
    turns->mNodeName = aiString("Spinner");
    turns->mNumRotationKeys = 3;
    turns->mRotationKeys = new aiQuatKey[3];
    for (int k = 0; k < 3; ++k) {
        const float f = float(k);
        moves->mPositionKeys[k] = aiVectorKey(ticks[k], aiVector3D(1 + f, 2 - f * f, 3 + 0.5f * f));
        moves->mRotationKeys[k] =
            aiQuatKey(ticks[k], aiQuaternion(aiVector3D(0, 1, 0.4f).Normalize(), 0.3f + f));
        turns->mRotationKeys[k] =
            aiQuatKey(ticks[k], aiQuaternion(aiVector3D(1, 0, 0), 0.9f * f - 0.4f));
    }
    anim->mNumChannels = 2;
    anim->mChannels = new aiNodeAnim* [2] { moves, turns };
    scene->mNumAnimations = 1;
    scene->mAnimations = new aiAnimation* [1] { anim };
    return scene;
}

// What recomputing every node's world at every frame places: the host
// worlds of all host nodes, and each node whose own driven count exceeds
// its host parent's keyed from them.
int placeByFullRecompute(const HostPlan& plan, const std::vector<MadeNode>& made,
                         const NodeTable& table, const NodePoses& poses) {
    std::vector<int> driven(std::size_t(table.size()), 0);
    for (std::size_t i = 0; i < driven.size(); ++i) {
        const int p = table.parent[i];
        driven[i] = (p >= 0 ? driven[std::size_t(p)] : 0) + (poses.driven()[i] ? 1 : 0);
    }
    std::vector<char> animated(plan.nodes.size(), 0);
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        const HostNodeSpec& spec = plan.nodes[i];
        const int parentSource =
            spec.parent >= 0 ? plan.nodes[std::size_t(spec.parent)].source : -1;
        animated[i] =
            spec.source >= 0 && driven[std::size_t(spec.source)] >
                                    (parentSource >= 0 ? driven[std::size_t(parentSource)] : 0);
    }
    const auto placeAll = [&](const std::vector<Mat4>& worlds, bool keyed, DzTime time) {
        std::vector<Mat4> hostWorlds(plan.nodes.size());
        for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
            const HostNodeSpec& spec = plan.nodes[i];
            hostWorlds[i] =
                spec.source >= 0 ? worlds[std::size_t(spec.source)] * made[i].correction : Mat4();
            if (spec.source < 0 || bool(animated[i]) != keyed) {
                continue;
            }
            const Mat4 parent = spec.parent >= 0 ? hostWorlds[std::size_t(spec.parent)] : Mat4();
            placeNode(*made[i].node, safeInverse(parent) * hostWorlds[i], keyed, time);
        }
    };
    std::vector<Mat4> worlds;
    poses.worldsAt(0.0, worlds);
    placeAll(worlds, false, 0);
    const int frames = 12; // 12 ticks at 30 ticks and 30 frames a second
    for (int f = 0; f <= frames; ++f) {
        poses.worldsAt(double(f) / 30.0, worlds);
        placeAll(worlds, true, DzTime(f) * dzScene->getTimeStep());
    }
    return frames + 1;
}

// Per host node (in the scene's order) and transform property: its keys'
// times and values, or its one value when it has no keys.
struct PropertyState {
    std::vector<DzTime> times;
    std::vector<double> values;
    bool operator==(const PropertyState& o) const { return times == o.times && values == o.values; }
};
struct NodeState {
    std::string label;
    std::vector<PropertyState> properties;
};

std::vector<NodeState> buildAndSnapshot(const aiScene& scene, bool reference, int& frames) {
    DzScene::create();
    ModelNotes notes;
    const NodeTable table = makeNodeTable(scene);
    const SpaceConversion space = modelToHost(scene, "gltf", 0, notes);
    const SkeletonPlan skeletons =
        planSkeletons(scene, table, nodesWithContent(scene, table), notes);
    const HostPlan plan = planHostNodes(scene, table, skeletons, notes);
    const NodePoses poses(scene, table, space, 0, notes);
    const BoneBinds binds = computeBoneBinds(scene, table, skeletons, poses, space);
    const std::vector<MadeNode> made = makeHostNodes(scene, table, plan, binds, space, notes);
    frames = reference ? placeByFullRecompute(plan, made, table, poses)
                       : placeHostNodes(plan, made, poses, notes);
    std::vector<NodeState> out;
    for (int n = 0; n < dzScene->getNumNodes(); ++n) {
        const DzNode* node = dzScene->getNode(n);
        NodeState state{node->getLabel().toStdString(), {}};
        for (const DzFloatProperty* p :
             {node->getXPosControl(), node->getYPosControl(), node->getZPosControl(),
              node->getXRotControl(), node->getYRotControl(), node->getZRotControl(),
              node->getScaleControl(), node->getXScaleControl(), node->getYScaleControl(),
              node->getZScaleControl()}) {
            PropertyState s;
            for (int k = 0; k < p->getNumKeys(); ++k) {
                s.times.push_back(p->getKeyTime(k));
                s.values.push_back(p->getKeyValue(k));
            }
            if (s.times.empty()) {
                s.values.push_back(p->getValue(0));
            }
            state.properties.push_back(s);
        }
        out.push_back(state);
    }
    DzScene::destroy();
    return out;
}

TEST(SceneMotion, KeysOnlyWhatMovesExactlyAsAFullRecomputeWould) {
    const auto scene = movingScene();
    int frames = 0, referenceFrames = 0;
    const std::vector<NodeState> placed = buildAndSnapshot(*scene, false, frames);
    const std::vector<NodeState> expected = buildAndSnapshot(*scene, true, referenceFrames);
    // Worlds moved frame by frame are the full recompute's, bit for bit.
    {
        ModelNotes notes;
        const NodeTable table = makeNodeTable(*scene);
        const NodePoses poses(*scene, table, modelToHost(*scene, "gltf", 0, notes), 0, notes);
        std::vector<Mat4> moved, full;
        poses.worldsAt(0.0, moved);
        for (int f = 0; f <= 12; ++f) {
            poses.timedWorldsAt(f / 30.0, moved);
            poses.worldsAt(f / 30.0, full);
            ASSERT_EQ(moved.size(), full.size());
            for (std::size_t i = 0; i < full.size(); ++i) {
                EXPECT_EQ(std::memcmp(&moved[i], &full[i], sizeof(Mat4)), 0) << "node " << i;
            }
        }
    }
    EXPECT_EQ(frames, 13);
    EXPECT_EQ(frames, referenceFrames);
    ASSERT_EQ(placed.size(), expected.size());
    ASSERT_GE(placed.size(), 16u);
    for (std::size_t n = 0; n < placed.size(); ++n) {
        SCOPED_TRACE(placed[n].label);
        ASSERT_EQ(placed[n].label, expected[n].label);
        const bool moves = placed[n].label == "Driver" || placed[n].label == "Spinner";
        for (std::size_t p = 0; p < placed[n].properties.size(); ++p) {
            SCOPED_TRACE("property " + std::to_string(p));
            const PropertyState& got = placed[n].properties[p];
            EXPECT_EQ(got.times.size(), moves ? std::size_t(frames) : 0u);
            EXPECT_TRUE(got == expected[n].properties[p]);
        }
    }
}

} // namespace
} // namespace modeltest
