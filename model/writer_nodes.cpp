#include "model/writer_nodes.h"

#include "model/host_placement.h"

#include <assimp/scene.h>

#include <dznode.h>
#include <dzscene.h>

#include <set>
#include <unordered_map>

namespace yfx {
namespace model {

namespace {

std::string uniqueName(const QString& label, int index, std::set<std::string>& taken) {
    std::string base = label.toUtf8().toStdString();
    if (base.empty()) {
        base = format("Node%d", index);
    }
    std::string name = base;
    for (int n = 1; !taken.insert(name).second; ++n) {
        name = base + format("_%d", n);
    }
    return name;
}

Mat4 orientationOf(const DzNode& node) {
    return fromHost(DzMatrix3(node.getOrientation()));
}

} // namespace

int WriterTree::find(const DzNode* host) const {
    const auto it = index.find(host);
    return it == index.end() ? -1 : it->second;
}

Mat4 nodeFrame(const DzNode& node, DzTime time) {
    return fromHost(node.getWSTransform(time, false)) * orientationOf(node);
}

Mat4 restFrame(const DzNode& node) {
    return fromHost(node.getWSTransform(0, true)) * orientationOf(node);
}

WriterTree makeWriterTree(const SpaceConversion& toModel) {
    WriterTree tree;
    tree.root = std::make_unique<aiNode>("Root");
    if (dzScene == nullptr) {
        return tree;
    }
    std::set<std::string> taken = {"Root"};
    std::unordered_map<const DzNode*, int>& index = tree.index;
    struct Pending {
        DzNode* node;
        int parent;
    };
    std::vector<Pending> stack;
    for (int i = dzScene->getNumNodes() - 1; i >= 0; --i) {
        DzNode* node = dzScene->getNode(i);
        if (node != nullptr && node->getNodeParent() == nullptr) {
            stack.push_back({node, -1});
        }
    }
    while (!stack.empty()) {
        const Pending p = stack.back();
        stack.pop_back();
        if (index.count(p.node)) {
            continue;
        }
        WriterNode w;
        w.host = p.node;
        w.parent = p.parent;
        w.name = uniqueName(p.node->getLabel(), int(tree.nodes.size()), taken);
        w.restFrame = restFrame(*p.node);
        index.emplace(p.node, int(tree.nodes.size()));
        tree.nodes.push_back(w);
        for (int c = p.node->getNumNodeChildren() - 1; c >= 0; --c) {
            if (DzNode* child = p.node->getNodeChild(c)) {
                stack.push_back({child, int(tree.nodes.size()) - 1});
            }
        }
    }
    // Assimp nodes, children in order.
    std::vector<std::vector<int>> children(tree.nodes.size());
    std::vector<int> topLevel;
    for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
        WriterNode& w = tree.nodes[i];
        w.node = new aiNode(w.name);
        w.node->mTransformation = toFloat(toModel.transform(localFrame(tree, int(i), 0)));
        (w.parent >= 0 ? children[std::size_t(w.parent)] : topLevel).push_back(int(i));
    }
    auto attach = [&](aiNode* parent, const std::vector<int>& list) {
        if (list.empty()) {
            return;
        }
        parent->mNumChildren = unsigned(list.size());
        parent->mChildren = new aiNode*[list.size()];
        for (std::size_t k = 0; k < list.size(); ++k) {
            aiNode* child = tree.nodes[std::size_t(list[k])].node;
            child->mParent = parent;
            parent->mChildren[k] = child;
        }
    };
    attach(tree.root.get(), topLevel);
    for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
        attach(tree.nodes[i].node, children[i]);
    }
    return tree;
}

Mat4 localFrame(const WriterTree& tree, int i, DzTime time) {
    const WriterNode& w = tree.nodes[std::size_t(i)];
    const Mat4 frame = nodeFrame(*w.host, time);
    return w.parent >= 0
               ? safeInverse(nodeFrame(*tree.nodes[std::size_t(w.parent)].host, time)) * frame
               : frame;
}

} // namespace model
} // namespace yfx
