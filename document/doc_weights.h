// Skin weight helpers on one vertex (or all vertices of a document or mesh).
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx {

// Weights below this are dropped by pruneWeights.
constexpr float kMinimumWeight = 0.0001f;

// Adds w to the entry of bone (contributions + 1), or appends {bone, w, 1}.
// Returns the entry; nullptr when the append fails (the list is unchanged).
DocWeight* addWeight(DocVertex& vertex, std::int32_t bone, float w);
// Appends {bone, w, 1} without looking for an entry of bone, for a caller that
// knows the list has none. Returns the entry; nullptr when the append fails.
DocWeight* appendWeight(DocVertex& vertex, std::int32_t bone, float w);
// Removes the entries of bone, keeping the others in order. Returns 1 when
// an entry was removed, 0 when no entry names the bone.
int removeWeight(DocVertex& vertex, std::int32_t bone);
// Drops entries with a negative bone or a weight below kMinimumWeight,
// keeping the others in order.
void pruneWeights(DocVertex& vertex);
// Zeroes the weights of entries without a bone, then scales the weights to
// sum to 1 unless they already sum to exactly 1 or 0.
void normalizeWeights(DocVertex& vertex);
// Sorting order, larger weight first: true when a's weight is greater than
// b's. A NaN weight sorts last, so the order stays strict and weak.
bool weightOrder(const DocWeight& a, const DocWeight& b);
// Frees the weights of every pool vertex and of every mesh's own vertices.
void clearAllWeights(SceneDoc& doc);
// Frees the weights of the mesh's own vertices.
void clearMeshWeights(DocMesh& mesh);

} // namespace yfx
