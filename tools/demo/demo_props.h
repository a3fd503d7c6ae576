// The demo scene's nodes besides the figure: a prop without skin with a hidden
// child, three lights (point, spot, distant) and a camera.
#pragma once

#include <vector>

class DzNode;
class DzTexture;

namespace yfx_demo {

struct DemoProp {
    DzNode* crate = nullptr; // placed away from the figure and turned
    DzNode* lid = nullptr;   // the crate's child, hidden
};

// The crate: a box whose top is a fan of four triangles, with two UV sets;
// its material (default class, a colour texture) selects UV set 1. The lid: a
// box of six quads with one UV set, its own material, hidden. Not yet in the
// scene.
DemoProp makeDemoProp(const std::vector<DzTexture*>& textures);

// A point light, a spot light (spread 40 degrees) and a distant light, each
// placed, turned, coloured and with its intensity set; then a camera. Not yet
// in the scene.
std::vector<DzNode*> makeDemoLightsAndCamera();

} // namespace yfx_demo
