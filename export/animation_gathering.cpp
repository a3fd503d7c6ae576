#include "export/animation_gathering.h"

#include <algorithm>

#include <QtCore/QString>

#include <dzmatrix3.h>
#include <dznode.h>
#include <dzscene.h>

#include "compat/qt_compat.h"
#include "document/doc_alloc.h"
#include "document/doc_append.h"
#include "document/doc_host_transform.h"
#include "export/host_values.h"
#include "export/phase_progress.h"
#include "export/scene_time.h"
#include "prepare/track_keys.h"

namespace yfx {
namespace exporter {

float framesPerSecond(DzTime timeStep) {
    const float fps = 4800.0f / static_cast<float>(timeStep < 1 ? 1 : timeStep);
    return fps == 0.0f ? 30.0f : fps;
}

namespace {

// Each track's local matrix and sample time for the scene's current time.
void sampleFrame(DocAnimation& animation, const std::vector<DzNode*>& nodes, DzTime time,
                 float sampleTime, ExportSession& session) {
    session.node_counter = 0;
    for (const DzNode* node : nodes) {
        const auto index = static_cast<std::size_t>(session.node_counter);
        if (index < animation.tracks.size()) {
            DocTrack& track = animation.tracks[index];
            float host[12];
            hostMatrixValues(nodeTransformAt(*node, time), host);
            hostToMatrix(host, track.local_matrix);
            track.sample_time = sampleTime;
        }
        ++session.node_counter;
    }
}

} // namespace

int gatherAnimation(ExportSession& session, DzScene& scene, const std::vector<DzNode*>& nodes) {
    if (scene.getNumNodes() < 1) {
        return 1;
    }
    SceneTimeGuard timeGuard(scene);
    const PlayFrames frames = playFramesOf(scene);
    const std::int64_t count = std::max<std::int64_t>(frames.last - frames.first, 1);
    const float fps = framesPerSecond(scene.getTimeStep());
    const float frameTime = 1.0f / fps;

    SceneDoc& doc = session.document;
    if (addAnimation(doc) == nullptr) {
        return 0;
    }
    const std::size_t animationIndex = doc.animations.size() - 1;
    DocAnimation& animation = doc.animations[animationIndex];
    animation.frames_per_second = fps;
    if (allocateTracks(animation, static_cast<std::int32_t>(doc.bones.size())) == 0) {
        return 0;
    }
    for (std::size_t i = 0; i < animation.tracks.size(); ++i) {
        animation.tracks[i].parent = doc.bones[i].parent;
    }

    PhaseProgress progress(session, QStringLiteral("Gathering animation"), count);
    for (std::int64_t f = frames.first; f < frames.first + count; ++f) {
        setSceneFrame(scene, f);
        scene.invalidate();
        scene.update();
        scene.invalidate();
        sampleFrame(animation, nodes, scene.getTime(), static_cast<float>(f) * frameTime, session);
        prepare::captureTrackKeys(animation);
        progress.step();
    }
    timeGuard.restore();
    return 1;
}

} // namespace exporter
} // namespace yfx
