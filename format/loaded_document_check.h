// What a successful load (status 1 of loadFile or loadFromMemory) guarantees
// about the document it leaves, checked invariant by invariant. The reader
// and the post-parse passes establish these; the import's build, the fuzz
// targets and the tests rely on them. Debug builds run the check after every
// successful load and abort on a violation.
//
// Guaranteed, as the reader and the passes leave the document:
//  1. The version is one the reader accepts (6 to 34). The importer's work
//     records (surfaces, group builds) are empty, and no record carries a
//     host node or exporter-side lists (a mesh holds only its name and its
//     polygons; a bone names no mesh).
//  2. Every name and path (of lights, cameras, materials and their map and
//     layer paths, groups, UV sets, meshes, bones and animations) ends within
//     its 260 units, in both of its forms.
//  3. There is at least one group and at least one UV set (the defaults of a
//     file without them).
//  4. Every polygon has 3 or 4 corners: polygons of five or more are split
//     into triangles, and polygons whose file gave fewer than three corners
//     are dropped.
//  5. Every corner's vertex index names a vertex of the pool (polygons that
//     name one outside are dropped by the reader).
//  6. When the document holds exactly one mesh, no polygon names the same
//     vertex at two corners.
//  7. The passes' scratch marks are clear: no vertex carries the unused mark,
//     no polygon the repeated-corner mark.
//  8. Use counts agree with what uses them: each group's group value is the
//     number of polygons (of all meshes) naming it, each material's face
//     count the number naming it, each bone's weight references the number
//     of weight entries naming it.
//  9. Group g's member list is built from mesh g: one member per material
//     that a polygon of that mesh names, in ascending material order, with
//     the number of such polygons. Groups without a mesh of their index, and
//     every group of a document without materials, have none.
// 10. Weights as normalisation leaves them, for every vertex whose weights
//     are all finite: an entry naming a negative bone weighs 0, and the list
//     sums to 0 (left alone) or to 1 within rounding.
// 11. Bone transforms as pass 5 computes them: each local matrix from the
//     bone's position, rotation and scale; each world matrix from the local
//     one and the parent's world as it stood when the bone was reached (the
//     identity for a bone that is its own parent or names a bone past the
//     last); the inverse world matrix; the head at the world translation; the
//     tail at the head of the bone's last child (its own head without one);
//     the length to the parent as the distance between their world
//     translations (0 without a parent).
// 12. No animation holds more tracks than there are bones, and in every
//     track each rotation key lies in the same hemisphere as the one before
//     it (their dot product is not negative).
// 13. Every map slot of a material holds a map, no two maps of a material
//     share a channel, a layered map (type 4) has at least one layer and
//     maps of other types have none.
// 14. In files before version 30 every UV set holds one UV per polygon
//     corner of the file (none when the file has no corners).
//
// Left as the file gives them, and therefore NOT demanded:
//  - corners' UV layer indices, their second and third indices and edge
//    flags; polygons' group, material and word 2 indices (out-of-range ones
//    are skipped by the use counts, negative ones repaired when the import
//    builds); weight entries' bone indices; bone and group parents; face
//    links, and whether the face links survived the clean-up;
//  - names that stay equal: renaming gives up after 101 attempts and a name
//    at capacity may be cut back to an equal one; the two forms of a name
//    need not match (the 8-bit form may have lost characters);
//  - that every pool vertex is used: removing polygons with a repeated
//    corner can leave vertices that only those polygons used;
//  - non-finite numbers read from the file (positions, colours, weights,
//    keys, transforms) and what arithmetic makes of them: the weight rule
//    only holds for weights that are finite after normalisation, the bone
//    rule compares non-finite values as such;
//  - map channels and types outside the known ranges, key times, frame
//    ranges, the counts and offsets of the file's sections, the info strings.
//
// The passes give up without failing the load when memory runs out (the
// triangulation, the clean-up and the member lists keep what they had); the
// guarantees above assume their allocations succeed.
#pragma once

#include <string>

#include "document/scene_doc.h"

namespace yfx {

// Empty when the document keeps every guarantee above; otherwise a message
// naming the first broken one and where (record indices), e.g.
// "corner vertex: mesh 0, polygon 3, corner 1: vertex 12 outside the pool of 10".
// Linear in the document's records (a material's map channels are sorted),
// allocating only scratch arrays of one entry per group, material or bone.
std::string checkLoadedDocument(const SceneDoc& doc);

} // namespace yfx
