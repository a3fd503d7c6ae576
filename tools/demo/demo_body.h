// The demo figure's body: one tube around every bone of the skeleton table,
// its two UV sets and its skin weights.
//
// Each tube has S sides and R rings along its bone (quads between rings) and a
// triangle fan closing each end, so (R + 1) * S polygons over R * S + 2
// vertices. Every tube gets an equal share of the asked polygon count; S grows
// with the square root of the share (at least 3) and R with the rest (at
// least 2). Faces go into the material group of the bone's surface and into a
// face group named after the bone.
//
// UVs (one UV value per ring vertex plus a seam column, and one per end):
// - set 0 "Base UDIM": the surfaces Torso, DAZ Studio Default, Arms and Hands
//   lie in tile 1001 (u in 0..1) and Legs and Feet in tile 1002 (u in 1..2),
//   each surface a band of its tile, each bone a column of its band;
// - set 1 "Unwrapped": every bone a cell of one grid over the unit square.
// Set 0 is also the mesh's active UV map.
//
// Weights: a vertex at fraction t along its bone (0 at the joint, 1 at the end
// point) takes k bones, nearest first in the skeleton (its own bone, then the
// parent before the children in the joint's half, the children first in the
// other half): k = 1 in the middle of the bone growing to 4 towards both ends,
// or always 4 when asked. Weights fall off as k, k - 1, ..., 1 and sum to
// exactly 1 (32767 raw).
#pragma once

#include "tools/demo/demo_skeleton.h"

#include <cstdint>
#include <vector>

class DzFacetMesh;
class DzWeightMap;

namespace yfx_demo {

struct BodyMesh {
    DzFacetMesh* mesh = nullptr;       // new; the caller hands it to a shape
    std::vector<DzWeightMap*> weights; // new, one per bone of the table, one weight per vertex
};

// Names of the material groups, in BodySurface order.
extern const char* const kBodySurfaceNames[kBodySurfaceCount];

BodyMesh buildBodyMesh(const std::vector<DemoBoneSpec>& specs, std::int64_t polygons,
                       bool fourWeights);

} // namespace yfx_demo
