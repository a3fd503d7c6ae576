// A picture of a loaded document: every polygon of every mesh filled with
// the z-buffer, in its material's diffuse colour (or colour map) shaded by a
// light at the camera, seen from one of the views with the camera fitted to
// what is drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "document/scene_doc.h"
#include "render/view_camera.h"
#include "util/rgba_image.h"

namespace yfx {
namespace render {

// The background of scene pictures: fully transparent, so that a covered
// pixel is one whose alpha is not 0.
constexpr std::uint8_t kSceneBackground[4] = {0, 0, 0, 0};
// The grey of polygons whose material index names no material.
constexpr float kNoMaterialGrey = 0.7f;
constexpr int kMaxPictureSide = 16384;

struct ScenePictureSettings {
    int width = 1024;
    int height = 1024;
    View view = View::Front;
    bool posed = false; // pose the skin by the first animation at `frame`
    double frame = 0.0;
    bool wire = false; // polygon edges drawn over the surfaces
    // Colour maps by material index (null or missing: the diffuse colour).
    std::vector<const RgbaImage*> colour_maps;
};

// What drawing did.
struct ScenePictureCounts {
    std::size_t triangles = 0; // triangles filled (before clipping and the depth test)
    std::size_t skipped = 0;   // triangles left out: a corner without a usable vertex
    std::uint64_t steps = 0;   // rows and pixels the fills walked
};

// Draws the document into `out`. Polygons are split into triangles around
// their first corner; a triangle with a corner whose vertex index is not in
// the pool, or whose position is not finite, is left out. Shading is
// two-sided: a face turned to the camera shows its colour unchanged, one
// seen edge-on a quarter of it. False only when the picture cannot be
// allocated or its sides are not within 1 .. kMaxPictureSide.
bool drawScenePicture(const SceneDoc& doc, const ScenePictureSettings& settings, RgbaImage& out,
                      ScenePictureCounts* counts = nullptr);

} // namespace render
} // namespace yfx
