// The host scene's node tree as Assimp nodes, for the scene writer.
//
// Each host node becomes a node of the same name (made unique: Assimp finds
// bones and lights by node name). A node's frame is its world transform
// followed by its orientation: a host bone at rest has no rotation, and the
// orientation holds the turn its own axes have (the importer puts a bone's
// world rotation there), so the frame is where the node's axes are. A node's
// Assimp transform is its frame relative to its parent's frame, in the
// target's units.
#pragma once

#include "model/space_conversion.h"

#include <dzgeneraldefs.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class DzNode;
struct aiNode;

namespace yfx {
namespace model {

struct WriterNode {
    DzNode* host = nullptr;
    int parent = -1; // index in the list; -1 under the root
    std::string name;
    aiNode* node = nullptr;
    Mat4 restFrame; // host space, at rest
};

struct WriterTree {
    std::unique_ptr<aiNode> root;
    std::vector<WriterNode> nodes; // parents before children
    // The node standing for a host node, or -1.
    int find(const DzNode* host) const;
    std::unordered_map<const DzNode*, int> index;
};

// The node's frame at a time (host space), or at rest.
Mat4 nodeFrame(const DzNode& node, DzTime time);
Mat4 restFrame(const DzNode& node);

// Builds the tree of every node of dzScene, each transform the node's local
// frame at time 0 converted by `toModel`.
WriterTree makeWriterTree(const SpaceConversion& toModel);

// The local frame of node i at a time (host space).
Mat4 localFrame(const WriterTree& tree, int i, DzTime time);

} // namespace model
} // namespace yfx
