// Node records: one DocBone per node of the scene, in node index order,
// whatever the node's class or visibility, with its name, class flags, parent
// record and the node's transform at the scene's current time.
#pragma once

#include <vector>

#include <dzgeneraldefs.h>

#include "export/gather_context.h"

class DzNode;

namespace yfx {
namespace exporter {

// Appends the node's DocBone, its parent found through `bones` (the records
// made so far), and files the new record there. Returns 1, or 0 when the
// record cannot be appended.
int gatherNodeRecord(ExportSession& session, DzNode& node, DzTime time, BoneIndexOfNode& bones);

// Records every node of `nodes` at `time`, raising session.node_counter per
// node. A record that cannot be appended ends the walk, so that DocBone i
// keeps naming node i for every record that exists.
void gatherNodeRecords(ExportSession& session, const std::vector<DzNode*>& nodes, DzTime time,
                       BoneIndexOfNode& bones);

} // namespace exporter
} // namespace yfx
