#include "render/view_camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace yfx {
namespace render {

namespace {

double dot(const double a[3], const float p[3]) {
    return a[0] * double(p[0]) + a[1] * double(p[1]) + a[2] * double(p[2]);
}

void set(double out[3], double x, double y, double z) {
    out[0] = x, out[1] = y, out[2] = z;
}

void orient(View view, ViewCamera& camera) {
    switch (view) {
    case View::Front:
        break;
    case View::Side:
        set(camera.right, 0, 0, -1);
        set(camera.back, 1, 0, 0);
        break;
    case View::Top:
        set(camera.up, 0, 0, -1);
        set(camera.back, 0, 1, 0);
        break;
    case View::ThreeQuarter: {
        // From 45 degrees to the figure's left (+X) and 20 degrees above.
        const double s = std::sqrt(0.5);
        const double pitch = 20.0 * 3.14159265358979323846 / 180.0;
        const double cp = std::cos(pitch), sp = std::sin(pitch);
        set(camera.right, s, 0, -s);
        set(camera.back, s * cp, sp, s * cp);
        // up = back x right
        const double* b = camera.back;
        const double* r = camera.right;
        set(camera.up, b[1] * r[2] - b[2] * r[1], b[2] * r[0] - b[0] * r[2],
            b[0] * r[1] - b[1] * r[0]);
        break;
    }
    }
}

bool finite3(const float* p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

} // namespace

void ViewCamera::project(const float p[3], double out[3]) const {
    out[0] = double(width) * 0.5 + (dot(right, p) - centre[0]) * scale;
    out[1] = double(height) * 0.5 - (dot(up, p) - centre[1]) * scale;
    out[2] = dot(back, p);
}

ViewCamera fitCamera(View view, const std::vector<float>& positions,
                     const std::vector<std::uint8_t>& used, int width, int height) {
    ViewCamera camera;
    orient(view, camera);
    camera.width = width;
    camera.height = height;
    const double inf = std::numeric_limits<double>::infinity();
    double low[2] = {inf, inf};
    double high[2] = {-inf, -inf};
    const std::size_t count = positions.size() / 3;
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = &positions[3 * i];
        if ((!used.empty() && (i >= used.size() || used[i] == 0)) || !finite3(p)) {
            continue;
        }
        const double x = dot(camera.right, p);
        const double y = dot(camera.up, p);
        low[0] = std::min(low[0], x), high[0] = std::max(high[0], x);
        low[1] = std::min(low[1], y), high[1] = std::max(high[1], y);
    }
    if (!(low[0] <= high[0])) {
        return camera; // nothing to fit
    }
    camera.centre[0] = 0.5 * low[0] + 0.5 * high[0];
    camera.centre[1] = 0.5 * low[1] + 0.5 * high[1];
    const double margin = std::min(width, height) / 20.0;
    const double room[2] = {std::max(1.0, width - 2 * margin), std::max(1.0, height - 2 * margin)};
    double scale = inf;
    for (int k = 0; k < 2; ++k) {
        const double extent = high[k] - low[k];
        if (extent > 0.0) {
            scale = std::min(scale, room[k] / extent);
        }
    }
    camera.scale = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
    return camera;
}

} // namespace render
} // namespace yfx
