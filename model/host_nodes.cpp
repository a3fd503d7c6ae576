#include "model/host_nodes.h"

#include "model/host_placement.h"
#include "model/light_nodes.h"

#include <assimp/scene.h>

#include <dzbone.h>
#include <dzfigure.h>
#include <dzquat.h>
#include <dzscene.h>

namespace yfx {
namespace model {

namespace {

constexpr double kSamePoint = 1e-4;  // centimetres
constexpr double kLonelyBone = 10.0; // end point distance of a bone with no other to go by

DzVec3 hostVec(const Vec3& v) {
    return DzVec3(float(v.x), float(v.y), float(v.z));
}

// End points of every bone node (see the header).
std::vector<Vec3> endPoints(const NodeTable& table, const HostPlan& plan, const BoneBinds& binds) {
    const std::size_t n = std::size_t(table.size());
    std::vector<Vec3> end(n);
    std::vector<char> set(n, 0);
    auto isBone = [&](int node) {
        return node >= 0 && plan.nodeOf[std::size_t(node)] >= 0 &&
               plan.nodes[std::size_t(plan.nodeOf[std::size_t(node)])].kind == HostKind::Bone;
    };
    for (std::size_t i = 0; i < n; ++i) {
        const int p = table.parent[i];
        if (isBone(int(i)) && isBone(p) && !set[std::size_t(p)] &&
            (translationOf(binds.world[i]) - translationOf(binds.world[std::size_t(p)])).Length() >
                kSamePoint) {
            end[std::size_t(p)] = translationOf(binds.world[i]);
            set[std::size_t(p)] = 1;
        }
    }
    for (std::size_t i = 0; i < n; ++i) { // leaves, parents first
        if (!isBone(int(i)) || set[i]) {
            continue;
        }
        const Vec3 origin = translationOf(binds.world[i]);
        const int p = table.parent[i];
        Vec3 step(0, kLonelyBone, 0);
        if (isBone(p)) {
            const Vec3 parentBone = origin - translationOf(binds.world[std::size_t(p)]);
            if (parentBone.Length() > kSamePoint) {
                step = parentBone * 0.5;
            }
        }
        end[i] = origin + step;
        set[i] = 1;
    }
    return end;
}

DzNode* makeOne(const aiScene& scene, const HostNodeSpec& spec, const SpaceConversion& space,
                Mat4& correction, ModelNotes& notes) {
    switch (spec.kind) {
    case HostKind::Figure:
        return new DzFigure();
    case HostKind::Bone:
        return new DzBone();
    case HostKind::Light:
        return makeLightNode(*scene.mLights[spec.light], space, correction, notes);
    case HostKind::Camera:
        return makeCameraNode(*scene.mCameras[spec.camera], space, correction, notes);
    default:
        return new DzNode();
    }
}

} // namespace

std::vector<MadeNode> makeHostNodes(const aiScene& scene, const NodeTable& table,
                                    const HostPlan& plan, const BoneBinds& binds,
                                    const SpaceConversion& space, ModelNotes& notes) {
    const std::vector<Vec3> end = endPoints(table, plan, binds);
    std::vector<MadeNode> made(plan.nodes.size());
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        const HostNodeSpec& spec = plan.nodes[i];
        MadeNode& m = made[i];
        m.node = makeOne(scene, spec, space, m.correction, notes);
        const QString name = QString::fromStdString(spec.name);
        m.node->setName(name);
        m.node->setLabel(name);
        if (spec.kind == HostKind::Bone) {
            const Mat4& bind = binds.world[std::size_t(spec.source)];
            const Vec3 origin = translationOf(bind);
            m.node->setOrigin(hostVec(origin), true);
            m.node->setEndPoint(hostVec(end[std::size_t(spec.source)]), true);
            m.node->setOrientation(DzQuat(toHost(rotationPart(bind))), true);
            m.correction = safeInverse(bind) * translation(origin);
        }
        if (spec.parent >= 0) {
            made[std::size_t(spec.parent)].node->addNodeChild(m.node, false);
        } else if (dzScene != nullptr) {
            dzScene->addNode(m.node);
        }
    }
    return made;
}

} // namespace model
} // namespace yfx
