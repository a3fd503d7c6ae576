#include "model/scene_motion.h"

#include "model/host_placement.h"

#include <dznode.h>
#include <dzquat.h>
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

// What the host is given: per plan node, whether the world transform it was
// placed at is off the model's (it, or a node above it, was given the
// nearest pose without shear) and, when it is, that world, which its
// children's local transforms are then taken against; and the nodes whose
// local transform sheared at some frame.
struct Placement {
    std::vector<Mat4> placed;
    std::vector<char> off;
    std::vector<char> sheared;
};

// The local transform of node i against its host parent as placed, without
// shear; records where node i is placed.
Mat4 localOf(const HostPlan& plan, const std::vector<MadeNode>& made,
             const std::vector<Mat4>& worlds, Placement& placement, int i) {
    const std::size_t u = std::size_t(i);
    const HostNodeSpec& spec = plan.nodes[u];
    const Mat4 hostWorld = worldOf(spec, made[u], worlds);
    const std::size_t p = std::size_t(spec.parent);
    const bool parentOff = spec.parent >= 0 && placement.off[p];
    const Mat4 parentWorld = spec.parent < 0 ? Mat4()
                             : parentOff     ? placement.placed[p]
                                             : worldOf(plan.nodes[p], made[p], worlds);
    Mat4 local = safeInverse(parentWorld) * hostWorld;
    const bool shear = hasShear(local);
    if (shear) {
        placement.sheared[u] = 1;
        local = withoutShear(local);
    }
    placement.off[u] = shear || parentOff;
    if (placement.off[u]) {
        placement.placed[u] = parentWorld * local;
    }
    return local;
}

// A node whose scale does not follow its orientation's axes cannot be held
// along them: it is turned to the scene's axes, along which the nearest pose
// without shear is kept. (The orientation is only the frame of the node's
// own transform; its rest placement does not depend on it.)
void alignSheared(const std::vector<MadeNode>& made, const std::vector<int>& which,
                  const Placement& placement) {
    for (const int i : which) {
        if (placement.sheared[std::size_t(i)]) {
            made[std::size_t(i)].node->setOrientation(DzQuat(), true);
        }
    }
}

} // namespace

int placeHostNodes(const HostPlan& plan, const std::vector<MadeNode>& made, const NodePoses& poses,
                   ModelNotes& notes) {
    std::vector<int> animated, still;
    splitByMotion(plan, poses, animated, still);
    const std::size_t n = plan.nodes.size();
    std::vector<char> isAnimated(n, 0), isStill(n, 0), moves(n, 0);
    for (const int i : animated) {
        isAnimated[std::size_t(i)] = 1;
    }
    for (const int i : still) {
        isStill[std::size_t(i)] = 1;
    }
    // The nodes placed anew at each frame, in plan order: the animated ones,
    // and the still ones below an animated one, which move with it.
    std::vector<int> timed;
    for (std::size_t i = 0; i < n; ++i) {
        const int p = plan.nodes[i].parent;
        moves[i] = isAnimated[i] || (p >= 0 && moves[std::size_t(p)]);
        if (moves[i] && (isAnimated[i] || isStill[i])) {
            timed.push_back(int(i));
        }
    }

    std::vector<Mat4> worlds;
    poses.worldsAt(0.0, worlds);
    Placement placement{std::vector<Mat4>(n), std::vector<char>(n, 0), std::vector<char>(n, 0)};
    std::vector<Mat4> stillLocal(n);
    // Frame 0, every placed node in plan order (a node the plan does not
    // place, a figure without a frame node, stays where its world puts it).
    for (std::size_t i = 0; i < n; ++i) {
        if (isAnimated[i] || isStill[i]) {
            stillLocal[i] = localOf(plan, made, worlds, placement, int(i));
        }
    }
    alignSheared(made, still, placement);
    for (const int i : still) {
        placeNode(*made[std::size_t(i)].node, stillLocal[std::size_t(i)], false, 0);
    }

    const DzTime step =
        dzScene != nullptr && dzScene->getTimeStep() > 0 ? dzScene->getTimeStep() : 160;
    const double fps = double(DZ_TICKS_PER_SECOND) / double(step);
    const double last = std::ceil(poses.durationSeconds() * fps - 1e-6);
    const int frames =
        poses.animated() && std::isfinite(last)
            ? int(std::clamp(last, 0.0,
                             std::min(kMaxFrames, double(DZ_MAX_TIME) / double(step) - 2.0)))
            : 0;
    // One frame: the timed nodes' placed worlds, and the animated ones keyed
    // (only those `only` marks, when given).
    auto frame = [&](int f, const std::vector<char>* only) {
        poses.timedWorldsAt(double(f) / fps, worlds);
        for (const int i : timed) {
            const std::size_t u = std::size_t(i);
            if (!isAnimated[u]) {
                // Still below a moving node: where its parent was placed decides.
                const int p = plan.nodes[u].parent;
                placement.off[u] = p >= 0 && placement.off[std::size_t(p)];
                if (placement.off[u]) {
                    placement.placed[u] = placement.placed[std::size_t(p)] * stillLocal[u];
                }
                continue;
            }
            const Mat4 local = localOf(plan, made, worlds, placement, i);
            if (only == nullptr || (*only)[u]) {
                placeNode(*made[u].node, local, true, DzTime(f) * step);
            }
        }
    };
    if (poses.animated()) {
        for (int f = 0; f <= frames; ++f) {
            frame(f, nullptr);
        }
        // A node found to shear was keyed along its orientation's axes before
        // that was known: it is turned to the scene's axes and keyed again
        // (each key replaces the one at its time).
        std::vector<char> rekey(n, 0);
        bool any = false;
        for (const int i : animated) {
            rekey[std::size_t(i)] = placement.sheared[std::size_t(i)];
            any = any || rekey[std::size_t(i)];
        }
        if (any) {
            alignSheared(made, animated, placement);
            for (int f = 0; f <= frames; ++f) {
                frame(f, &rekey);
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (placement.sheared[i]) {
            notes.dropFor("the shear", plan.nodes[i].name,
                          "the host and the project file keep a scale along a node's own axes "
                          "only; the nearest pose without shear is kept");
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
