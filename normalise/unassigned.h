// Completion passes run before host objects are built: polygons without a
// group or material are given an "Unassigned" one.
#pragma once

#include "document/scene_doc.h"

namespace yfx {
namespace normalise {

// When some polygon has a negative group index, a group "Unassigned" is put
// in front of the groups (the old ones move up by one, with their member
// lists) and every polygon's group index becomes 0 if it was negative, else
// one more. Word 2, the polygon's copy of its group index that the host mesh
// takes as the face-group index, is moved the same way so the two stay
// together. A document without groups always gets the group "Unassigned"
// appended, and its negative group indices (and word 2 values) become 0.
// The new group's group value is the number of polygons that now name it.
// Returns 1 on success (also when nothing had to change), 0 when the group
// array cannot be allocated (the document is then unchanged).
int addUnassignedGroup(SceneDoc& doc);

// The same on materials and the polygons' material index: the material
// "Unassigned" (document defaults) goes in front, or is appended when there
// are no materials; its face count is the number of polygons that now name
// it. Material indices held in the groups' member lists move up by one with
// their materials.
int addUnassignedMaterial(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
