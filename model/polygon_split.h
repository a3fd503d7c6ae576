// Splits a polygon of more than four corners into triangles, as the host's
// meshes hold only triangles and quads: ear clipping in the polygon's own
// plane (so concave outlines stay inside), a fan from the first corner for a
// polygon of more than kEarClippingLimit corners, whose clipping would cost
// the square of its corners.
#pragma once

#include "model/space_math.h"

#include <array>
#include <vector>

namespace yfx {
namespace model {

constexpr int kEarClippingLimit = 32;

// Appends triangles as corner positions (0 .. corners.size() - 1) to `out`:
// corners.size() - 2 of them, in the polygon's winding. Fewer than three
// corners give none.
void splitPolygon(const std::vector<Vec3>& corners, std::vector<std::array<int, 3>>& out);

} // namespace model
} // namespace yfx
