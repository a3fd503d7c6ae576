// Position, rotation and scale of a node's matrix relative to its parent's,
// kept finite. Shared by the bone and the animation key passes, which meet
// the same hazards: host matrices with NaN in them, bones scaled to zero, and
// parents nearly singular enough for an inverse to overflow.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yfx {
namespace prepare {

// The parts of an affine matrix. Every value is finite: a part whose
// decomposition would not be takes the identity's value (position 0,
// rotation (0, 0, 0, 1), scale 1), the other parts keeping theirs.
struct FiniteParts {
    float position[3] = {0, 0, 0};
    float rotation[4] = {0, 0, 0, 1}; // x, y, z, w
    float scale[3] = {1, 1, 1};       // negated when the matrix mirrors
};

bool allFinite(const float* values, int count);

// Makes m a finite affine matrix in place, part by part: a linear block with a
// non-finite element becomes the identity block, a non-finite translation
// becomes 0, and row 3 becomes (0, 0, 0, 1). A finite part survives a broken
// neighbour, so a NaN rotation does not cost a node its position.
void makeAffineFinite(float m[16]);

// out = inverse(parent) * child, or child itself when parent is null. A
// singular parent inverts to the identity (invert4x4), so its children keep
// their own matrices.
void relativeMatrix(const float* parent, const float child[16], float out[16]);

// decomposeAffine of m: translation, rotation, and scale times the sign when
// the sign is negative; each part checked for finiteness on its own.
FiniteParts decomposeFinite(const float m[16]);

// The affine matrix of the parts: rotation times the diagonal scale, with
// the position as translation.
void composeParts(const FiniteParts& parts, float out[16]);

// The parent index of element self of count elements when it names another
// element; -1 otherwise (negative, past the end, or the element itself).
std::int32_t validParent(std::int32_t parent, std::size_t self, std::size_t count);

} // namespace prepare
} // namespace yfx
