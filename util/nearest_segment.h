// Which of many segments lies nearest to a point, asked for many points: a
// tree of boxes over the segments lets a question visit the segments near the
// point instead of all of them, so that n points against m segments cost
// about n log m rather than n m.
//
// The answer is the one a scan over every segment in index order gives with
// pointSegmentDistance (the float distance each segment has there): the
// smallest distance, the lowest index among equal ones, never a NaN or
// infinite distance. A segment with a non-finite end is never chosen (the
// scan's float arithmetic would sometimes give such a segment a finite
// distance, but a segment reaching to infinity is near nothing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace yfx {

class NearestSegmentIndex {
public:
    // `ends` holds six floats a segment, its first end and then its second.
    NearestSegmentIndex(const float* ends, std::size_t count);

    // The index of the segment nearest to p; -1 when p is not finite or no
    // segment has a finite distance to it.
    std::int32_t nearest(const float p[3]) const;

private:
    struct Node {
        float low[3];
        float high[3];
        std::uint32_t first; // a leaf's range in order_, or an inner node's first child
        std::uint32_t count; // a leaf's segments; 0 for an inner node (children first, first + 1)
    };
    void keepFirstOfEqualSegments();
    void build(std::uint32_t at, std::uint32_t first, std::uint32_t count);
    double boxDistance(const Node& node, const float p[3]) const;

    std::vector<float> ends_;          // six floats a segment, by index
    std::vector<std::uint32_t> order_; // finite segments, grouped by leaf
    std::vector<Node> nodes_;          // nodes_[0] is the root
    double scale_ = 0;                 // the largest coordinate magnitude of a finite segment
};

} // namespace yfx
