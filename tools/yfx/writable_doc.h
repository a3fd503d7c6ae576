// Puts a document read from a file into the form the writers take, so that
// writing it again keeps what the target version can hold.
//
// The reader keeps UV coordinates in the document's own UV sets, indexed by
// the polygons' UV layer indices; the writers look them up in each mesh's UV
// sets, as the exporter leaves them. The version 9 layout stores polygons
// only inside the group they name, so a polygon naming no existing group
// would be dropped there.
#pragma once

#include "document/scene_doc.h"

namespace yfx {

// When the document holds document-level UV sets (a document the reader
// filled), gives every mesh two UV sets of its own holding exactly the
// coordinates its corners name, in corner order, and points the corners'
// layer indices at them. A corner whose index names no coordinate gets -1
// (the writers then store 0, 0 for it). A document without document-level UV
// sets is left as it is. O(corners).
void moveUVsIntoMeshes(SceneDoc& doc);

// Gives every polygon whose group index names no group of the document the
// group "Unassigned" (put in front of the others, which move up by one).
// Returns false when that group cannot be allocated (the document is then
// unchanged).
bool groupUngroupedPolygons(SceneDoc& doc);

// Both steps for the target: the UV move always, the grouping for version 9.
bool prepareForWriting(SceneDoc& doc, bool version9);

} // namespace yfx
