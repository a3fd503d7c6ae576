#include "model/polygon_split.h"

#include <cmath>

namespace yfx {
namespace model {

namespace {

void fan(int n, std::vector<std::array<int, 3>>& out) {
    for (int i = 1; i + 1 < n; ++i) {
        out.push_back({0, i, i + 1});
    }
}

// Twice the signed area of triangle abc in the plane (x, y).
double cross2(const double a[2], const double b[2], const double c[2]) {
    return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
}

bool inside(const double p[2], const double a[2], const double b[2], const double c[2]) {
    return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0;
}

} // namespace

void splitPolygon(const std::vector<Vec3>& corners, std::vector<std::array<int, 3>>& out) {
    const int n = int(corners.size());
    if (n < 3) {
        return;
    }
    if (n > kEarClippingLimit) {
        fan(n, out);
        return;
    }
    // Newell's normal picks the plane to project onto.
    Vec3 normal(0, 0, 0);
    for (int i = 0; i < n; ++i) {
        const Vec3& a = corners[std::size_t(i)];
        const Vec3& b = corners[std::size_t((i + 1) % n)];
        normal.x += (a.y - b.y) * (a.z + b.z);
        normal.y += (a.z - b.z) * (a.x + b.x);
        normal.z += (a.x - b.x) * (a.y + b.y);
    }
    const double ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
    if (!(ax + ay + az > 0) || !std::isfinite(ax + ay + az)) {
        fan(n, out); // no area: any split is as good
        return;
    }
    // Drop the dominant axis; keep the winding counter-clockwise in 2D.
    const int drop = az >= ax && az >= ay ? 2 : (ay >= ax ? 1 : 0);
    const double sign = normal[static_cast<unsigned>(drop)] >= 0 ? 1.0 : -1.0;
    const int u = (drop + 1) % 3, v = (drop + 2) % 3;
    std::vector<std::array<double, 2>> p(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        p[std::size_t(i)] = {corners[std::size_t(i)][static_cast<unsigned>(u)],
                             sign * corners[std::size_t(i)][static_cast<unsigned>(v)]};
    }
    std::vector<int> left(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        left[std::size_t(i)] = i;
    }
    while (left.size() > 3) {
        const std::size_t m = left.size();
        bool clipped = false;
        for (std::size_t i = 0; i < m && !clipped; ++i) {
            const int a = left[(i + m - 1) % m], b = left[i], c = left[(i + 1) % m];
            const double* pa = p[std::size_t(a)].data();
            const double* pb = p[std::size_t(b)].data();
            const double* pc = p[std::size_t(c)].data();
            if (cross2(pa, pb, pc) <= 0) {
                continue; // reflex or flat corner
            }
            bool ear = true;
            for (std::size_t k = 0; k < m && ear; ++k) {
                const int q = left[k];
                if (q != a && q != b && q != c && inside(p[std::size_t(q)].data(), pa, pb, pc)) {
                    ear = false;
                }
            }
            if (ear) {
                out.push_back({a, b, c});
                left.erase(left.begin() + std::ptrdiff_t(i));
                clipped = true;
            }
        }
        if (!clipped) {
            // A self-intersecting outline has no ear left: fan the rest.
            for (std::size_t i = 1; i + 1 < left.size(); ++i) {
                out.push_back({left[0], left[i], left[i + 1]});
            }
            left.clear();
        }
    }
    if (left.size() == 3) {
        out.push_back({left[0], left[1], left[2]});
    }
}

} // namespace model
} // namespace yfx
