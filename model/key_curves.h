// An animation curve as a model file states it: key times in seconds, values
// and the interpolation between keys. Assimp 5.2 gives a node's keys but not
// how to play them; where the file says it (glTF's samplers), the conversion
// samples the file's own curve: STEP holds the earlier key's value, LINEAR
// blends (rotations by the shorter slerp), CUBICSPLINE follows the Hermite
// spline through the keys with their in- and out-tangents.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace yfx {
namespace model {

enum class KeyInterpolation { Linear, Step, CubicSpline };

struct KeyCurve {
    KeyInterpolation interpolation = KeyInterpolation::Linear;
    int components = 0;         // 3 (a vector) or 4 (a rotation: x, y, z, w)
    std::vector<double> times;  // seconds, strictly ascending
    std::vector<double> values; // `components` per key
    // CUBICSPLINE only, laid out as `values`: each key's in- and out-tangent
    // (per second).
    std::vector<double> inTangents, outTangents;

    bool empty() const { return times.empty(); }
};

// A node's curves; an empty curve leaves that part to Assimp's keys.
struct NodeCurves {
    KeyCurve translation, rotation, scale;
};
// An animation's curves by the name of the node they move.
using AnimationCurves = std::unordered_map<std::string, NodeCurves>;

// The curve's value at `seconds` into `out` (curve.components numbers):
// before the first key the first value, after the last the last. A rotation
// curve (4 components) comes out normalised. Costs O(log keys).
void sampleCurve(const KeyCurve& curve, double seconds, double* out);

} // namespace model
} // namespace yfx
