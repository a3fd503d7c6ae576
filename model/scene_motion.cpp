#include "model/scene_motion.h"

#include "model/host_placement.h"

#include <dznode.h>
#include <dzscene.h>

#include <algorithm>
#include <cmath>

namespace yfx {
namespace model {

namespace {

// More frames than this are not keyed (a day at 30 frames per second).
constexpr double kMaxFrames = 24.0 * 3600.0 * 30.0;

Mat4 worldOf(const HostNodeSpec& spec, const MadeNode& made, const std::vector<Mat4>& worlds) {
    return spec.source >= 0 ? worlds[std::size_t(spec.source)] * made.correction : Mat4();
}

// Per host node: some animation channel drives its local transform.
std::vector<char> animatedNodes(const HostPlan& plan, const NodeTable& table,
                                const NodePoses& poses) {
    // Channels met from the root down to each model node, itself included.
    std::vector<int> driven(std::size_t(table.size()), 0);
    for (std::size_t i = 0; i < driven.size(); ++i) {
        const int p = table.parent[i];
        driven[i] = (p >= 0 ? driven[std::size_t(p)] : 0) + (poses.driven()[i] ? 1 : 0);
    }
    std::vector<char> animated(plan.nodes.size(), 0);
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        const HostNodeSpec& spec = plan.nodes[i];
        if (spec.source < 0) {
            continue;
        }
        const int parentSource =
            spec.parent >= 0 ? plan.nodes[std::size_t(spec.parent)].source : -1;
        const int above = parentSource >= 0 ? driven[std::size_t(parentSource)] : 0;
        animated[i] = driven[std::size_t(spec.source)] > above;
    }
    return animated;
}

void place(const HostPlan& plan, const std::vector<MadeNode>& made, const std::vector<Mat4>& worlds,
           const std::vector<char>& which, bool keyed, DzTime time) {
    std::vector<Mat4> hostWorlds(plan.nodes.size());
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        const HostNodeSpec& spec = plan.nodes[i];
        hostWorlds[i] = worldOf(spec, made[i], worlds);
        if (!which[i] || spec.source < 0) {
            continue;
        }
        const Mat4 parentWorld = spec.parent >= 0 ? hostWorlds[std::size_t(spec.parent)] : Mat4();
        placeNode(*made[i].node, safeInverse(parentWorld) * hostWorlds[i], keyed, time);
    }
}

} // namespace

int placeHostNodes(const HostPlan& plan, const std::vector<MadeNode>& made, const NodeTable& table,
                   const NodePoses& poses) {
    const std::vector<char> animated = animatedNodes(plan, table, poses);
    std::vector<char> still(animated.size());
    for (std::size_t i = 0; i < still.size(); ++i) {
        still[i] = !animated[i];
    }
    std::vector<Mat4> worlds;
    poses.worldsAt(0.0, worlds);
    place(plan, made, worlds, still, false, 0);

    const DzTime step =
        dzScene != nullptr && dzScene->getTimeStep() > 0 ? dzScene->getTimeStep() : 160;
    const double fps = double(DZ_TICKS_PER_SECOND) / double(step);
    const double last = std::ceil(poses.durationSeconds() * fps - 1e-6);
    const int frames =
        poses.animated() && std::isfinite(last)
            ? int(std::clamp(last, 0.0,
                             std::min(kMaxFrames, double(DZ_MAX_TIME) / double(step) - 2.0)))
            : 0;
    if (poses.animated()) {
        for (int f = 0; f <= frames; ++f) {
            poses.worldsAt(double(f) / fps, worlds);
            place(plan, made, worlds, animated, true, DzTime(f) * step);
        }
    }
    if (dzScene != nullptr) {
        const DzTimeRange range(0, poses.animated() ? DzTime(frames + 1) * step : 0);
        dzScene->setPlayRange(range);
        dzScene->setAnimRange(range);
        dzScene->setFrame(0);
    }
    return poses.animated() ? frames + 1 : 0;
}

} // namespace model
} // namespace yfx
