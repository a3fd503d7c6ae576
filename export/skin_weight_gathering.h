// Skin weights: the weight maps of the node's skin binding copied into the
// gathered mesh's own vertices, each weight naming its bone's DocBone.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"
#include "export/gather_context.h"

class DzNode;

namespace yfx {
namespace exporter {

// The weight maps the length check left out of one mesh.
struct SkippedWeightMaps {
    int maps = 0;            // how many
    std::int64_t length = 0; // the first one's length
};

// For every bone binding of every skin binding among the object's modifiers:
// the scale map, or the general map when there is none, is taken when its
// length equals the mesh's vertex count or its highest vertex index + 1, and
// each non-zero weight of a vertex the mesh has is added for the binding's
// bone (bindings whose bone has no DocBone add nothing); maps of another
// length are counted in `skipped`. Sets the mesh's weights flag once a weight
// is stored. Returns 1, or 0 when the node has no object.
int gatherSkinWeights(const DzNode& node, DocMesh& mesh, const BoneIndexOfNode& bones,
                      SkippedWeightMaps& skipped);

} // namespace exporter
} // namespace yfx
