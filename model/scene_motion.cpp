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

// A figure follows its frame node; one without stays at the scene's origin.
Mat4 worldOf(const HostNodeSpec& spec, const MadeNode& made, const std::vector<Mat4>& worlds) {
    const int source = spec.source >= 0 ? spec.source : spec.frame;
    return source >= 0 ? worlds[std::size_t(source)] * made.correction : Mat4();
}

// The host nodes some animation channel drives the local transform of, and
// the others, each in plan order.
void splitByMotion(const HostPlan& plan, const NodePoses& poses, std::vector<int>& animated,
                   std::vector<int>& still) {
    const std::vector<int>& driven = poses.drivenOnPath();
    for (std::size_t i = 0; i < plan.nodes.size(); ++i) {
        const HostNodeSpec& spec = plan.nodes[i];
        const int source = spec.source >= 0 ? spec.source : spec.frame;
        if (source < 0) {
            continue;
        }
        const HostNodeSpec* parent =
            spec.parent >= 0 ? &plan.nodes[std::size_t(spec.parent)] : nullptr;
        const int parentSource = parent == nullptr     ? -1
                                 : parent->source >= 0 ? parent->source
                                                       : parent->frame;
        const int above = parentSource >= 0 ? driven[std::size_t(parentSource)] : 0;
        (driven[std::size_t(source)] > above ? animated : still).push_back(int(i));
    }
}

// Places the listed host nodes from the model's world transforms; a node's
// parent's host world is computed from `worlds` as its own is.
void place(const HostPlan& plan, const std::vector<MadeNode>& made, const std::vector<Mat4>& worlds,
           const std::vector<int>& which, bool keyed, DzTime time) {
    for (const int i : which) {
        const HostNodeSpec& spec = plan.nodes[std::size_t(i)];
        const Mat4 hostWorld = worldOf(spec, made[std::size_t(i)], worlds);
        const std::size_t p = std::size_t(spec.parent);
        const Mat4 parentWorld =
            spec.parent >= 0 ? worldOf(plan.nodes[p], made[p], worlds) : Mat4();
        placeNode(*made[std::size_t(i)].node, safeInverse(parentWorld) * hostWorld, keyed, time);
    }
}

} // namespace

int placeHostNodes(const HostPlan& plan, const std::vector<MadeNode>& made,
                   const NodePoses& poses) {
    std::vector<int> animated, still;
    splitByMotion(plan, poses, animated, still);
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
        // Each frame recomputes only the worlds that move with time, and the
        // host worlds of the animated nodes and their parents.
        for (int f = 0; f <= frames; ++f) {
            poses.timedWorldsAt(double(f) / fps, worlds);
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
