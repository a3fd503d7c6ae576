#include "fidelity_check.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace modeltest {

namespace {

double distance(const Vec3& a, const Vec3& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

double weightDifference(const std::map<std::string, double>& a,
                        const std::map<std::string, double>& b) {
    double worst = 0;
    for (const auto& w : a) {
        const auto it = b.find(w.first);
        worst = std::max(worst, std::fabs(w.second - (it == b.end() ? 0.0 : it->second)));
    }
    for (const auto& w : b) {
        if (a.find(w.first) == a.end()) {
            worst = std::max(worst, std::fabs(w.second));
        }
    }
    return worst;
}

} // namespace

Fidelity compareGltf(const GltfPoser& model, const GltfPoser& copy,
                     const std::vector<double>& times) {
    Fidelity f;
    const std::vector<Vec3> m0 = model.positionsAt(0.0), c0 = copy.positionsAt(0.0);
    Vec3 lo = {1e300, 1e300, 1e300}, hi = {-1e300, -1e300, -1e300};
    for (const Vec3& p : m0) {
        for (std::size_t i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], p[i]);
            hi[i] = std::max(hi[i], p[i]);
        }
    }
    f.diagonal = distance(lo, hi);
    const double near = 1e-3 * f.diagonal;

    // Pairs: model triangle -> copy triangle, with the copy corner of each model corner.
    struct Pair {
        std::array<int, 3> model, copy;
    };
    std::vector<Pair> pairs;
    std::vector<char> taken(copy.triangles().size(), 0);
    f.triangles = model.triangles().size();
    for (const auto& t : model.triangles()) {
        bool found = false;
        for (std::size_t c = 0; c < copy.triangles().size() && !found; ++c) {
            if (taken[c]) {
                continue;
            }
            const auto& u = copy.triangles()[c];
            std::array<int, 3> corner = {-1, -1, -1};
            for (std::size_t i = 0; i < 3; ++i) {
                for (std::size_t j = 0; j < 3; ++j) {
                    if (distance(m0[std::size_t(t[i])], c0[std::size_t(u[j])]) < near) {
                        corner[i] = int(j);
                    }
                }
            }
            if (corner[0] < 0 || corner[1] < 0 || corner[2] < 0 || corner[0] == corner[1] ||
                corner[1] == corner[2] || corner[0] == corner[2]) {
                continue;
            }
            found = true;
            taken[c] = 1;
            // Same facing when the corners follow in the same cyclic order.
            if ((corner[1] - corner[0] + 3) % 3 != 1) {
                ++f.turned;
            }
            pairs.push_back({t,
                             {u[std::size_t(corner[0])], u[std::size_t(corner[1])],
                              u[std::size_t(corner[2])]}});
        }
        f.unmatched += found ? 0 : 1;
    }
    f.extra = copy.triangles().size() - pairs.size();
    for (const Pair& p : pairs) {
        for (std::size_t i = 0; i < 3; ++i) {
            if (model.weights(p.model[i]).empty()) {
                continue; // an unskinned model mesh may come back bound to a bone of its own
            }
            f.worstWeight = std::max(f.worstWeight, weightDifference(model.weights(p.model[i]),
                                                                     copy.weights(p.copy[i])));
        }
    }
    for (const double t : times) {
        const std::vector<Vec3> a = model.positionsAt(t), b = copy.positionsAt(t);
        for (const Pair& p : pairs) {
            for (std::size_t i = 0; i < 3; ++i) {
                const double d =
                    distance(a[std::size_t(p.model[i])], b[std::size_t(p.copy[i])]) / f.diagonal;
                if (d > f.worstPosition) {
                    f.worstPosition = d;
                    f.worstAt = t;
                }
            }
        }
    }
    return f;
}

std::string describe(const Fidelity& f) {
    std::ostringstream out;
    out << f.triangles << " triangles, " << f.unmatched << " unmatched, " << f.extra << " extra, "
        << f.turned << " turned; worst position " << f.worstPosition
        << " of the diagonal at t = " << f.worstAt << ", worst weight " << f.worstWeight;
    return out.str();
}

} // namespace modeltest
