// Skin weights: the weight maps of the node's skin binding copied into the
// gathered mesh's own vertices, each weight naming its bone's DocBone.
#pragma once

#include "document/scene_doc.h"
#include "export/gather_context.h"

class DzNode;

namespace yfx {
namespace exporter {

// For every bone binding of every skin binding among the object's modifiers:
// the scale map, or the general map when there is none, is taken when its
// length equals the mesh's vertex count or its highest vertex index + 1, and
// each non-zero weight of a vertex the mesh has is added for the binding's
// bone (bindings whose bone has no DocBone add nothing). Sets the mesh's
// weights flag once a weight is stored. Returns 1, or 0 when the node has no
// object.
int gatherSkinWeights(const DzNode& node, DocMesh& mesh, const BoneIndexOfNode& bones);

} // namespace exporter
} // namespace yfx
