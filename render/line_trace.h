// Walking the pixels of a straight line inside a picture. The segment is
// clipped to the picture first, so the work is bounded by the picture's size
// whatever the end points (far outside, huge or not finite: nothing drawn).
#pragma once

#include <algorithm>
#include <cmath>

namespace yfx {
namespace render {

// Calls plot(x, y, t) for the pixels of the segment from (x0, y0) to (x1, y1)
// (pixel units, pixel (x, y) covering [x, x + 1) x [y, y + 1)) that lie in a
// width x height picture, one per step along the longer axis; t is where the
// pixel lies along the whole segment, 0 at the start and 1 at the end.
template <typename Plot>
void traceLine(double x0, double y0, double x1, double y1, int width, int height, Plot plot) {
    if (width <= 0 || height <= 0 || !std::isfinite(x0) || !std::isfinite(y0) ||
        !std::isfinite(x1) || !std::isfinite(y1)) {
        return;
    }
    // Liang-Barsky against [0, width] x [0, height].
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
        return;
    }
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0, double(width) - x0, y0, double(height) - y0};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) {
                return;
            }
            continue;
        }
        const double r = q[k] / p[k];
        if (p[k] < 0.0) {
            enter = std::max(enter, r);
        } else {
            leave = std::min(leave, r);
        }
    }
    if (!(enter <= leave)) {
        return;
    }
    const double ax = x0 + enter * dx;
    const double ay = y0 + enter * dy;
    const double bx = x0 + leave * dx;
    const double by = y0 + leave * dy;
    // The clipped part spans at most width + height pixels along its longer axis.
    const double span = std::max(std::fabs(bx - ax), std::fabs(by - ay));
    const int steps = int(std::min(std::ceil(span), double(width) + double(height)));
    for (int i = 0; i <= steps; ++i) {
        const double s = steps == 0 ? 0.0 : double(i) / double(steps);
        const double x = ax + s * (bx - ax);
        const double y = ay + s * (by - ay);
        const int px = std::min(int(x), width - 1);
        const int py = std::min(int(y), height - 1);
        if (px >= 0 && py >= 0) {
            plot(px, py, enter + s * (leave - enter));
        }
    }
}

} // namespace render
} // namespace yfx
