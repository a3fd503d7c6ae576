// The scene's time line as the gathering uses it: the frame range of the
// play range, the refresh after a change of frame or pose, and a guard that
// gives the scene back the time it had.
#pragma once

#include <cstdint>

#include <dzgeneraldefs.h>

class DzScene;

namespace yfx {
namespace exporter {

// The scene's time step in ticks per frame; a step below 1 counts as 1.
DzTime timeStepOf(const DzScene& scene);

// First and last frame of the play range: its start and end divided by the
// time step (integer division). Held in 64 bits so that one past the last
// frame cannot overflow.
struct PlayFrames {
    std::int64_t first = 0;
    std::int64_t last = 0;
};
PlayFrames playFramesOf(const DzScene& scene);

// Sets the scene to frame f, clamped to the range of a frame number.
void setSceneFrame(DzScene& scene, std::int64_t frame);

// invalidate, update and, when the host has its main window, a repaint of the
// window and of the active 3D viewport.
void refreshScene(DzScene& scene);

// Keeps the scene's current time and gives it back (then refreshes) when
// restore() is called or the guard goes out of scope, whichever comes first.
// The exact time is kept, so a time between two frames comes back as it was.
class SceneTimeGuard {
public:
    explicit SceneTimeGuard(DzScene& scene);
    ~SceneTimeGuard();
    SceneTimeGuard(const SceneTimeGuard&) = delete;
    SceneTimeGuard& operator=(const SceneTimeGuard&) = delete;

    void restore();

private:
    DzScene& scene_;
    DzTime time_;
    bool restored_ = false;
};

} // namespace exporter
} // namespace yfx
