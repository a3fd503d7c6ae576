// The figure's selection map: each face group paired with the bone its faces
// belong to.
#pragma once

#include "document/scene_doc.h"
#include "import/bone_frames.h"

class DzFigure;

namespace yfx {
namespace importer {

// Gives the figure a new selection map "MyFigure_selMap" pairing the name of
// every group build that has a bone name with the host bone of this import's
// first bone of that name that was made (found through a table, not by searching the
// scene, so that a bone of another figure with the same name is never
// taken).
void addSelectionMap(const SceneDoc& doc, const BoneFrames& bones, DzFigure& figure);

} // namespace importer
} // namespace yfx
