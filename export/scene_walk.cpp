#include "export/scene_walk.h"

#include <unordered_set>

#include <dznode.h>
#include <dzscene.h>

namespace yfx {
namespace exporter {

std::vector<DzNode*> nodesInWalkOrder(const DzScene& scene) {
    std::vector<DzNode*> order;
    const int count = scene.getNumNodes();
    if (count < 1) {
        return order;
    }
    order.reserve(static_cast<std::size_t>(count));
    std::unordered_set<const DzNode*> visited;
    visited.reserve(static_cast<std::size_t>(count));
    std::vector<DzNode*> pending; // children pushed last-first, so popped in child order
    for (int i = 0; i < count; ++i) {
        DzNode* root = scene.getNode(i);
        if (root == nullptr || root->getNodeParent() != nullptr) {
            continue;
        }
        pending.push_back(root);
        while (!pending.empty()) {
            DzNode* node = pending.back();
            pending.pop_back();
            if (!visited.insert(node).second) {
                continue;
            }
            order.push_back(node);
            for (int c = node->getNumNodeChildren() - 1; c >= 0; --c) {
                if (DzNode* child = node->getNodeChild(c)) {
                    pending.push_back(child);
                }
            }
        }
    }
    return order;
}

} // namespace exporter
} // namespace yfx
