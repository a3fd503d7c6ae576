#include "import/time_line.h"

#include "import/host_numbers.h"
#include "import/scene_refresh.h"

#include <dzscene.h>

namespace yfx {
namespace importer {

void setUpTimeLine(const SceneDoc& doc) {
    if (dzScene == nullptr || doc.bones.empty() || doc.animations.empty()) {
        return;
    }
    const DocAnimation& animation = doc.animations[0];
    const long long last = (long long)truncateOr(animation.start_frame, 0) +
                           (long long)truncateOr(animation.end_frame, 0);
    dzScene->setTimeStep(timeStepFor(framesPerSecond(animation.frames_per_second)));
    dzScene->setFrame(0);
    const long long step = dzScene->getTimeStep() != 0 ? dzScene->getTimeStep() : 1;
    const DzTime end = clampTime(step * last);
    DzTimeRange animRange = dzScene->getAnimRange();
    DzTimeRange playRange = dzScene->getPlayRange();
    animRange.setStart(0);
    animRange.setEnd(end);
    playRange.setStart(0);
    playRange.setEnd(end);
    dzScene->setAnimRange(animRange);
    dzScene->setPlayRange(playRange);
    dzScene->update();
    refreshMainWindow(true);
}

} // namespace importer
} // namespace yfx
