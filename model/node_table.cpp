#include "model/node_table.h"

#include <assimp/scene.h>

#include <unordered_set>

namespace yfx {
namespace model {

int NodeTable::find(const aiString& name) const {
    return find(std::string(name.C_Str()));
}

int NodeTable::find(const std::string& name) const {
    const auto it = byName.find(name);
    return it == byName.end() ? -1 : it->second;
}

NodeTable makeNodeTable(const aiScene& scene) {
    NodeTable table;
    if (scene.mRootNode == nullptr) {
        return table;
    }
    std::unordered_set<const aiNode*> seen;
    struct Pending {
        const aiNode* node;
        int parent;
    };
    std::vector<Pending> stack = {{scene.mRootNode, -1}};
    while (!stack.empty()) {
        const Pending p = stack.back();
        stack.pop_back();
        if (p.node == nullptr || !seen.insert(p.node).second) {
            continue;
        }
        const int index = table.size();
        table.nodes.push_back(p.node);
        table.parent.push_back(p.parent);
        table.depth.push_back(p.parent < 0 ? 0 : table.depth[std::size_t(p.parent)] + 1);
        table.byName.emplace(p.node->mName.C_Str(), index);
        if (p.node->mChildren != nullptr) {
            for (unsigned c = p.node->mNumChildren; c > 0; --c) {
                stack.push_back({p.node->mChildren[c - 1], index});
            }
        }
    }
    return table;
}

int commonAncestor(const NodeTable& table, int a, int b) {
    while (a >= 0 && b >= 0 && a != b) {
        if (table.depth[std::size_t(a)] >= table.depth[std::size_t(b)]) {
            a = table.parent[std::size_t(a)];
        } else {
            b = table.parent[std::size_t(b)];
        }
    }
    return a == b ? a : -1;
}

} // namespace model
} // namespace yfx
