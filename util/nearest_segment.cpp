#include "util/nearest_segment.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "util/matrix_math.h"

namespace yfx {

namespace {

constexpr std::uint32_t kLeafSize = 4;

// How far a float distance computed by pointSegmentDistance may fall below
// the true distance, relative to the largest coordinate magnitude involved:
// a few float roundings of values of that size (about 1.2e-7 each), with
// room to spare. A box is passed over only when even its distance less this
// is beyond the best distance found, so no segment that could win or tie is
// ever skipped.
constexpr double kRoundingAllowance = 1e-5;

bool finiteEnds(const float* e) {
    for (int k = 0; k < 6; ++k) {
        if (!std::isfinite(e[k])) {
            return false;
        }
    }
    return true;
}

} // namespace

NearestSegmentIndex::NearestSegmentIndex(const float* ends, std::size_t count)
    : ends_(ends, ends + 6 * count) {
    for (std::size_t i = 0; i < count; ++i) {
        const float* e = &ends_[6 * i];
        if (finiteEnds(e)) {
            order_.push_back(static_cast<std::uint32_t>(i));
            for (int k = 0; k < 6; ++k) {
                scale_ = std::max(scale_, std::fabs(double(e[k])));
            }
        }
    }
    keepFirstOfEqualSegments();
    if (!order_.empty()) {
        nodes_.emplace_back();
        build(0, 0, static_cast<std::uint32_t>(order_.size()));
    }
}

// Segments with the same ends (bones of nodes that sit on one point, say)
// have the same distance to every point, so only the lowest index among them
// can ever be the answer; keeping the others would make every question visit
// all of them. Equal means equal floats (0 and -0 alike, as the distance
// sees them).
void NearestSegmentIndex::keepFirstOfEqualSegments() {
    const auto key = [this](std::uint32_t s) {
        std::array<float, 6> ends;
        for (int k = 0; k < 6; ++k) {
            ends[std::size_t(k)] = ends_[6 * std::size_t(s) + std::size_t(k)] + 0.0f;
        }
        return ends;
    };
    std::stable_sort(order_.begin(), order_.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return key(a) < key(b); });
    order_.erase(std::unique(order_.begin(), order_.end(),
                             [&](std::uint32_t a, std::uint32_t b) { return key(a) == key(b); }),
                 order_.end());
}

// Fills node `at` for order_[first, first + count): its box, and either the
// segments (a leaf) or two children that split them at the median of their
// midpoints along the box's longest side. Medians keep the depth near
// log2(count).
void NearestSegmentIndex::build(std::uint32_t at, std::uint32_t first, std::uint32_t count) {
    Node box;
    for (int k = 0; k < 3; ++k) {
        box.low[k] = std::numeric_limits<float>::max();
        box.high[k] = -std::numeric_limits<float>::max();
    }
    for (std::uint32_t i = first; i < first + count; ++i) {
        const float* e = &ends_[6 * std::size_t(order_[i])];
        for (int k = 0; k < 3; ++k) {
            box.low[k] = std::min({box.low[k], e[k], e[3 + k]});
            box.high[k] = std::max({box.high[k], e[k], e[3 + k]});
        }
    }
    box.first = first;
    box.count = count;
    if (count <= kLeafSize) {
        nodes_[at] = box;
        return;
    }
    int axis = 0;
    for (int k = 1; k < 3; ++k) {
        if (double(box.high[k]) - box.low[k] > double(box.high[axis]) - box.low[axis]) {
            axis = k;
        }
    }
    const auto middle = [this, axis](std::uint32_t s) {
        const float* e = &ends_[6 * std::size_t(s)];
        return double(e[axis]) + double(e[3 + axis]);
    };
    const std::uint32_t half = count / 2;
    std::nth_element(order_.begin() + first, order_.begin() + first + half,
                     order_.begin() + first + count,
                     [&](std::uint32_t a, std::uint32_t b) { return middle(a) < middle(b); });
    const std::uint32_t children = static_cast<std::uint32_t>(nodes_.size());
    nodes_.emplace_back();
    nodes_.emplace_back();
    box.first = children;
    box.count = 0;
    nodes_[at] = box;
    build(children, first, half);
    build(children + 1, first + half, count - half);
}

double NearestSegmentIndex::boxDistance(const Node& node, const float p[3]) const {
    double squared = 0;
    for (int k = 0; k < 3; ++k) {
        const double below = double(node.low[k]) - p[k];
        const double above = double(p[k]) - node.high[k];
        const double out = std::max({below, above, 0.0});
        squared += out * out;
    }
    return std::sqrt(squared);
}

std::int32_t NearestSegmentIndex::nearest(const float p[3]) const {
    if (nodes_.empty() || !std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2])) {
        return -1;
    }
    const double allowance =
        kRoundingAllowance * std::max({scale_, std::fabs(double(p[0])), std::fabs(double(p[1])),
                                       std::fabs(double(p[2]))});
    float best = std::numeric_limits<float>::infinity();
    std::int32_t bestIndex = -1;
    // Depth-first; the tree is at most 33 levels deep (median splits of fewer
    // than 2^32 segments), and the stack holds one node a level and the root.
    std::uint32_t stack[72];
    std::size_t depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const Node& node = nodes_[stack[--depth]];
        if (boxDistance(node, p) - allowance > double(best)) {
            continue;
        }
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
                const std::uint32_t s = order_[i];
                const float* e = &ends_[6 * std::size_t(s)];
                const float d = pointSegmentDistance(p, e, e + 3);
                if (d < best || (d == best && std::int32_t(s) < bestIndex)) {
                    best = d;
                    bestIndex = std::int32_t(s);
                }
            }
            continue;
        }
        // The nearer child is taken first (pushed last).
        const std::uint32_t a = node.first;
        const std::uint32_t b = node.first + 1;
        const bool aNearer = boxDistance(nodes_[a], p) <= boxDistance(nodes_[b], p);
        stack[depth++] = aNearer ? b : a;
        stack[depth++] = aNearer ? a : b;
    }
    return bestIndex;
}

} // namespace yfx
