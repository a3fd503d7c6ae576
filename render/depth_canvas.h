// A picture with a depth value per pixel, and filling triangles into it with
// the depth test. A triangle costs one step per picture row it crosses plus
// one per pixel it covers (after clipping to the frame), whatever its
// coordinates: huge or non-finite ones draw nothing or only what is inside.
#pragma once

#include <cstdint>
#include <vector>

#include "util/rgba_image.h"

namespace yfx {
namespace render {

struct DepthCanvas {
    RgbaImage image;
    std::vector<float> depth; // per pixel; larger is nearer
    std::uint64_t steps = 0;  // rows and pixels the fills have walked

    // A width x height picture of `background`, every depth the farthest.
    // False (and an empty canvas) when the sizes are not positive or the
    // picture cannot be allocated.
    bool reset(int width, int height, const std::uint8_t background[4]);
    float& depthAt(int x, int y) { return depth[std::size_t(y) * std::size_t(image.width) + x]; }
};

// A triangle corner in pixel coordinates (see ViewCamera::project) with its
// depth and texture coordinates.
struct ScreenCorner {
    double x = 0, y = 0, z = 0;
    double u = 0, v = 0;
};

// What a triangle is painted with: its colour times `shade`, or with a
// texture the texel (nearest, repeating, v upwards) times the colour and shade.
struct TrianglePaint {
    float colour[3] = {1, 1, 1};
    float shade = 1.0f;
    const RgbaImage* texture = nullptr;
};

// Fills the pixels whose centres lie inside the triangle (or on its edges)
// and are nearer than what the canvas holds there.
void fillTriangle(DepthCanvas& canvas, const ScreenCorner corners[3], const TrianglePaint& paint);

// Draws the segment's pixels in `rgba` where it is not behind the surface by
// more than `tolerance` in depth.
void drawDepthLine(DepthCanvas& canvas, const ScreenCorner& a, const ScreenCorner& b,
                   float tolerance, const std::uint8_t rgba[4]);

} // namespace render
} // namespace yfx
