// The orthographic camera of a scene picture: a view direction and the fit
// that puts the drawn vertices' extent in the middle of the frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace yfx {
namespace render {

// Views of the scene, which is Y up with the figure facing +Z:
// front looks along -Z, side (from the figure's left) along -X, top along -Y
// with -Z up in the picture, three-quarter from front left and a little above.
enum class View { Front, Side, Top, ThreeQuarter };

struct ViewCamera {
    double right[3] = {1, 0, 0}; // picture x
    double up[3] = {0, 1, 0};    // picture y (upwards)
    double back[3] = {0, 0, 1};  // towards the viewer: larger depth is nearer
    double centre[2] = {0, 0};   // view-plane point drawn at the middle of the frame
    double scale = 1.0;          // pixels per scene unit
    int width = 0;
    int height = 0;

    // Pixel coordinates (x to the right, y down, pixel (i, j) covering
    // [i, i + 1) x [j, j + 1)) and depth of a scene point.
    void project(const float p[3], double out[3]) const;
};

// A camera for `view` whose frame of width x height pixels holds, with a
// margin of a twentieth of its smaller side, every finite position that
// `used` marks (3 floats a position; `used` as long as the positions, or
// empty: all). Non-finite positions are passed over; with none left the
// scale is 1 around the origin, and a single point sits in the middle.
ViewCamera fitCamera(View view, const std::vector<float>& positions,
                     const std::vector<std::uint8_t>& used, int width, int height);

} // namespace render
} // namespace yfx
