#include "render/depth_canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "render/line_trace.h"

namespace yfx {
namespace render {

namespace {

std::uint8_t toByte(double value) {
    if (!(value > 0.0)) {
        return 0;
    }
    return value >= 255.0 ? 255 : std::uint8_t(value + 0.5);
}

// A linear function of the picture plane fitted through the three corners.
struct Plane {
    double at0 = 0, dx = 0, dy = 0; // value at corner 0, change per pixel in x and y
    double x0 = 0, y0 = 0;

    double at(double x, double y) const { return at0 + dx * (x - x0) + dy * (y - y0); }
};

Plane fitPlane(const ScreenCorner c[3], double area, double ScreenCorner::*value) {
    Plane plane;
    plane.x0 = c[0].x, plane.y0 = c[0].y;
    plane.at0 = c[0].*value;
    const double d1 = c[1].*value - plane.at0;
    const double d2 = c[2].*value - plane.at0;
    const double ex1 = c[1].x - c[0].x, ey1 = c[1].y - c[0].y;
    const double ex2 = c[2].x - c[0].x, ey2 = c[2].y - c[0].y;
    plane.dx = (d1 * ey2 - d2 * ey1) / area;
    plane.dy = (ex1 * d2 - ex2 * d1) / area;
    return plane;
}

// Texel of a repeating texture at (u, v), v = 0 the bottom row.
const std::uint8_t* texel(const RgbaImage& texture, double u, double v) {
    double fu = u - std::floor(u);
    double fv = v - std::floor(v);
    if (!std::isfinite(fu) || !std::isfinite(fv)) {
        fu = fv = 0.0;
    }
    const int x = std::min(texture.width - 1, int(fu * texture.width));
    const int y = std::min(texture.height - 1, int((1.0 - fv) * texture.height));
    return texture.at(std::max(0, x), std::max(0, y));
}

} // namespace

bool DepthCanvas::reset(int width, int height, const std::uint8_t background[4]) {
    image = RgbaImage();
    depth.clear();
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::size_t count = std::size_t(width) * std::size_t(height);
    try {
        image.pixels.resize(count * 4);
        depth.assign(count, -std::numeric_limits<float>::infinity());
    } catch (const std::bad_alloc&) {
        image = RgbaImage();
        depth.clear();
        return false;
    }
    image.width = width;
    image.height = height;
    for (std::size_t i = 0; i < count; ++i) {
        std::copy(background, background + 4, image.pixels.begin() + std::ptrdiff_t(i * 4));
    }
    return true;
}

void fillTriangle(DepthCanvas& canvas, const ScreenCorner corners[3], const TrianglePaint& paint) {
    const int width = canvas.image.width;
    const int height = canvas.image.height;
    if (width <= 0 || height <= 0) {
        return;
    }
    ScreenCorner c[3] = {corners[0], corners[1], corners[2]};
    double area = (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (c[1].y - c[0].y);
    if (!std::isfinite(area) || area == 0.0) {
        return; // not finite, or no area to fill
    }
    if (area < 0.0) {
        std::swap(c[1], c[2]);
        area = -area;
    }
    const double top = std::min({c[0].y, c[1].y, c[2].y});
    const double bottom = std::max({c[0].y, c[1].y, c[2].y});
    // Rows whose centre (row + 0.5) lies within [top, bottom], inside the frame.
    const double first = std::max(0.0, std::ceil(top - 0.5));
    const double last = std::min(double(height) - 1.0, std::floor(bottom - 0.5));
    if (!(first <= last)) {
        return;
    }
    const Plane depth = fitPlane(c, area, &ScreenCorner::z);
    const Plane u = fitPlane(c, area, &ScreenCorner::u);
    const Plane v = fitPlane(c, area, &ScreenCorner::v);
    std::uint8_t flat[4] = {0, 0, 0, 255};
    for (int k = 0; k < 3; ++k) {
        flat[k] = toByte(255.0 * double(paint.colour[k]) * double(paint.shade));
    }
    const bool textured = paint.texture != nullptr && !paint.texture->empty();
    for (int row = int(first); row <= int(last); ++row) {
        const double yc = row + 0.5;
        // Inside means every edge function (b - a) x (p - a) is not negative;
        // along the row each is linear in x, which bounds x from one side.
        double left = 0.0;
        double right = double(width);
        bool empty = false;
        for (int e = 0; e < 3 && !empty; ++e) {
            const ScreenCorner& a = c[e];
            const ScreenCorner& b = c[(e + 1) % 3];
            const double slope = -(b.y - a.y); // d(edge function)/dx
            const double constant = (b.x - a.x) * (yc - a.y) - slope * a.x;
            if (slope == 0.0) {
                empty = constant < 0.0;
            } else if (slope > 0.0) {
                left = std::max(left, -constant / slope);
            } else {
                right = std::min(right, -constant / slope);
            }
        }
        ++canvas.steps;
        if (empty || !(left <= right)) {
            continue; // also when a bound is not a number
        }
        const int from = int(std::max(0.0, std::ceil(left - 0.5)));
        const int to = int(std::min(double(width) - 1.0, std::floor(right - 0.5)));
        canvas.steps += std::uint64_t(std::max(0, to - from + 1));
        for (int x = from; x <= to; ++x) {
            const double xc = x + 0.5;
            const float z = float(depth.at(xc, yc));
            float& held = canvas.depthAt(x, row);
            if (!(z > held)) {
                continue;
            }
            held = z;
            std::uint8_t* pixel = canvas.image.at(x, row);
            if (textured) {
                const std::uint8_t* t = texel(*paint.texture, u.at(xc, yc), v.at(xc, yc));
                for (int k = 0; k < 3; ++k) {
                    pixel[k] = toByte(double(t[k]) * double(paint.colour[k]) * double(paint.shade));
                }
                pixel[3] = 255;
            } else {
                std::copy(flat, flat + 4, pixel);
            }
        }
    }
}

void drawDepthLine(DepthCanvas& canvas, const ScreenCorner& a, const ScreenCorner& b,
                   float tolerance, const std::uint8_t rgba[4]) {
    traceLine(a.x, a.y, b.x, b.y, canvas.image.width, canvas.image.height,
              [&](int x, int y, double t) {
                  const double z = a.z + t * (b.z - a.z);
                  if (double(canvas.depthAt(x, y)) - z <= double(tolerance)) {
                      std::copy(rgba, rgba + 4, canvas.image.at(x, y));
                  }
              });
}

} // namespace render
} // namespace yfx
