// Vertex positions of a loaded document, at rest or posed by its first
// animation at a frame.
#pragma once

#include <vector>

#include "document/scene_doc.h"

namespace yfx {
namespace render {

// The pool's positions as stored: 3 floats a vertex.
void restPositions(const SceneDoc& doc, std::vector<float>& out);

// The pool's positions posed at `frame` (at the first animation's rate, 30
// when it gives none) by the first animation: each bone's keys, sampled at
// that time, are taken relative to its rest position, rotation and scale (a
// position key d puts the bone at P + R d, a rotation key q turns it to
// Q q, a scale key multiplies its scale), chained from parent to child as
// the load chains the rest pose; a vertex moves with the weighted sum of its
// bones' posed world times rest inverse world, divided by the weights' sum.
// Bones without a track or keys keep their rest pose; weights naming no bone
// are passed over; a vertex without usable weights stays where it is. With
// no animation or no bones the positions are the rest positions.
void posedPositions(const SceneDoc& doc, double frame, std::vector<float>& out);

} // namespace render
} // namespace yfx
