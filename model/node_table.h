// The nodes of an Assimp scene as a flat table in pre-order (every parent
// before its children), with parent indices and a name index, so that the
// builder's passes are loops over indices instead of recursion.
#pragma once

#include <assimp/types.h>

#include <string>
#include <unordered_map>
#include <vector>

struct aiNode;
struct aiScene;

namespace yfx {
namespace model {

struct NodeTable {
    std::vector<const aiNode*> nodes; // pre-order from the root
    std::vector<int> parent;          // index, -1 for the root
    std::vector<int> depth;           // 0 for the root

    // The first node in pre-order with this name, or -1.
    int find(const aiString& name) const;
    int find(const std::string& name) const;
    int size() const { return int(nodes.size()); }

    std::unordered_map<std::string, int> byName;
};

// Walks the tree iteratively; a node met a second time (a cycle or a node
// shared by two parents) and null children are skipped.
NodeTable makeNodeTable(const aiScene& scene);

// The lowest common ancestor of two nodes of the table (walks up by depth).
int commonAncestor(const NodeTable& table, int a, int b);

} // namespace model
} // namespace yfx
