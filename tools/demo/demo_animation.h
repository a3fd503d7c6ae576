// The demo scene's animation: the time line and the keys.
#pragma once

#include "tools/demo/demo_skeleton.h"

#include <vector>

class DzBone;
class DzNode;

namespace yfx_demo {

// Sets the scene's time step to 160 ticks (30 frames per second) and its play
// and animation ranges to frames 0 to `frames`, then keys, every 5 frames and
// on the last one: every bone's swing rotation (a sine over the range, left
// and right limbs in opposite phase) and the figure's position (walking
// forward along z with a small bob). Linear in bones times keys.
void keyDemoAnimation(DzNode& figure, const std::vector<DzBone*>& bones,
                      const std::vector<DemoBoneSpec>& specs, int frames);

} // namespace yfx_demo
