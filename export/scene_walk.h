// The order in which the gathering visits the host scene: for each node of
// the scene without a parent, in the scene's order, the node and then, depth
// first, its children in child order. A node's position in this order is its
// node index: DocBone i, DocTrack i and node index i name the same node.
#pragma once

#include <vector>

class DzNode;
class DzScene;

namespace yfx {
namespace exporter {

// Every node reachable from the scene's root nodes, in node index order. A
// node met a second time (which a well-formed tree never shows) is left out,
// so that the walk always ends. Linear in the nodes; no recursion.
std::vector<DzNode*> nodesInWalkOrder(const DzScene& scene);

} // namespace exporter
} // namespace yfx
