#include "export/gather_scene.h"

#include <new>
#include <vector>

#include <QtCore/QString>

#include <dzboolproperty.h>
#include <dznode.h>
#include <dzscene.h>

#include "compat/qt_compat.h"
#include "export/animation_gathering.h"
#include "export/gather_context.h"
#include "export/gather_summary.h"
#include "export/light_gathering.h"
#include "export/mesh_gathering.h"
#include "export/node_records.h"
#include "export/phase_progress.h"
#include "export/scene_time.h"
#include "export/scene_walk.h"
#include "export/zero_pose.h"

namespace yfx {
namespace exporter {

namespace {

bool isHidden(const DzNode& node) {
    const DzBoolProperty* visible = node.getVisibilityControl();
    return visible != nullptr && !visible->getBoolValue();
}

// Lights, meshes and (recognised, not recorded) cameras, node by node;
// hidden nodes are passed over with export_visible on, their children not.
void objectWalk(ExportSession& session, const std::vector<DzNode*>& nodes,
                const BoneIndexOfNode& bones) {
    PhaseProgress progress(session, QStringLiteral("Gathering objects"),
                           static_cast<long long>(nodes.size()));
    session.node_counter = 0;
    for (DzNode* node : nodes) {
        if (!(isOn(session.options.export_visible) && isHidden(*node))) {
            if (node->inherits(QStringLiteral("DzLight"))) {
                gatherLight(session, *node);
            } else if (!node->inherits(QStringLiteral("DzCamera"))) {
                gatherMesh(session, *node, bones);
            }
        }
        ++session.node_counter;
        progress.step();
    }
}

void gatherInto(ExportSession& session, DzScene& scene) {
    // Both guards give the scene back on every way out: the zero pose first
    // (declared last), then the time.
    SceneTimeGuard userTime(scene);
    ZeroPose zeroPose;

    const PlayFrames frames = playFramesOf(scene);
    const bool zeroPoseOn = isOn(session.options.export_zeropose);
    setSceneFrame(scene, zeroPoseOn ? frames.last + 1 : frames.first);
    refreshScene(scene);

    const std::vector<DzNode*> nodes = nodesInWalkOrder(scene);
    if (zeroPoseOn) {
        zeroPose.apply(nodes, scene.getTime());
        refreshScene(scene);
    }
    BoneIndexOfNode bones;
    gatherNodeRecords(session, nodes, scene.getTime(), bones);
    objectWalk(session, nodes, bones);

    // The user's own values and keys again before anything is sampled.
    zeroPose.restore();
    userTime.restore();

    if (isOn(session.options.export_animation)) {
        gatherAnimation(session, scene, nodes);
    }
    if (loggingOn(session)) {
        logGatherSummary(session.document);
    }
}

} // namespace

int gatherScene(ExportSession& session) {
    DzScene* scene = dzScene;
    if (scene == nullptr) {
        return 1;
    }
    try {
        gatherInto(session, *scene);
    } catch (const std::bad_alloc&) {
        // Out of memory in the walk's own lists: the records gathered so far
        // stay, and the guards have given the scene back.
    }
    return 1;
}

} // namespace exporter
} // namespace yfx
