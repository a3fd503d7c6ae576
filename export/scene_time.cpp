#include "export/scene_time.h"

#include <limits>

#include <dzapp.h>
#include <dzmainwindow.h>
#include <dzscene.h>

namespace yfx {
namespace exporter {

DzTime timeStepOf(const DzScene& scene) {
    const DzTime step = scene.getTimeStep();
    return step < 1 ? 1 : step;
}

PlayFrames playFramesOf(const DzScene& scene) {
    const DzTime step = timeStepOf(scene);
    const DzTimeRange range = scene.getPlayRange();
    PlayFrames frames;
    frames.first = range.getStart() / step;
    frames.last = range.getEnd() / step;
    return frames;
}

void setSceneFrame(DzScene& scene, std::int64_t frame) {
    constexpr std::int64_t lowest = std::numeric_limits<int>::min();
    constexpr std::int64_t highest = std::numeric_limits<int>::max();
    scene.setFrame(static_cast<int>(frame < lowest ? lowest : frame > highest ? highest : frame));
}

void refreshScene(DzScene& scene) {
    scene.invalidate();
    scene.update();
    DzMainWindow* window = dzApp != nullptr ? dzApp->getInterface() : nullptr;
    if (window != nullptr) {
        window->update();
        window->repaintActive3DViewport();
    }
}

SceneTimeGuard::SceneTimeGuard(DzScene& scene) : scene_(scene), time_(scene.getTime()) {}

SceneTimeGuard::~SceneTimeGuard() {
    restore();
}

void SceneTimeGuard::restore() {
    if (restored_) {
        return;
    }
    restored_ = true;
    scene_.setTime(time_);
    refreshScene(scene_);
}

} // namespace exporter
} // namespace yfx
