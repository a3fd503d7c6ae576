#include "dzscene.h"

#include "dzhostclock.h"
#include "dznode.h"

DzScene* dzScene = nullptr;

namespace {

DzTime floorDiv(DzTime a, DzTime b) {
    DzTime q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

} // namespace

DzScene::DzScene() : m_playRange(0, 30 * 160), m_animRange(0, 30 * 160) {}

DzScene::~DzScene() {
    m_destroying = true;
    for (DzNode* node : m_nodes) {
        disconnect(node, nullptr, this, nullptr);
    }
    // Newest first: children usually joined after their parents.
    std::vector<DzNode*> nodes;
    nodes.swap(m_nodes);
    m_index.clear();
    m_byName.clear();
    m_indexedName.clear();
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        delete *it;
    }
}

DzScene* DzScene::create() {
    if (!dzScene) {
        dzScene = new DzScene();
    }
    return dzScene;
}

void DzScene::destroy() {
    DzScene* scene = dzScene;
    dzScene = nullptr;
    delete scene;
}

DzNodeListIterator DzScene::nodeListIterator() const {
    DzNodeList list;
    list.reserve(int(m_nodes.size()));
    for (DzNode* n : m_nodes) {
        list.append(n);
    }
    return DzNodeListIterator(list);
}

DzNode* DzScene::getNode(int index) const {
    return index >= 0 && index < int(m_nodes.size()) ? m_nodes[size_t(index)] : nullptr;
}

int DzScene::findNodeIndex(const DzNode* node) const {
    return m_index.value(node, -1);
}

DzNode* DzScene::findNode(const QString& name) const {
    DzNode* best = nullptr;
    int bestIndex = -1;
    for (auto it = m_byName.constFind(name); it != m_byName.constEnd() && it.key() == name; ++it) {
        const int index = m_index.value(it.value(), -1);
        if (bestIndex < 0 || index < bestIndex) {
            best = it.value();
            bestIndex = index;
        }
    }
    return best;
}

DzNode* DzScene::findNodeByLabel(const QString& label) const {
    for (DzNode* n : m_nodes) {
        if (n->getLabel() == label) {
            return n;
        }
    }
    return nullptr;
}

bool DzScene::addNode(DzNode* node) {
    if (!node || m_destroying) {
        return false;
    }
    // A node in the scene has its whole subtree there too (children given to a
    // scene node join it), so there is nothing to walk.
    if (!m_index.contains(node)) {
        addOne(node);
    }
    return true;
}

void DzScene::addOne(DzNode* node) {
    // Depth first over the tree, skipping nodes already present.
    std::vector<DzNode*> pending{node};
    while (!pending.empty()) {
        DzNode* n = pending.back();
        pending.pop_back();
        if (!m_index.contains(n)) {
            m_index.insert(n, int(m_nodes.size()));
            m_nodes.push_back(n);
            m_indexedName.insert(n, n->getName());
            m_byName.insert(n->getName(), n);
            connect(n, &DzBase::nameChanged, this, [this, n](const QString&) { reindexName(n); });
            connect(n, &QObject::destroyed, this, &DzScene::forget);
        }
        for (int i = n->getNumNodeChildren() - 1; i >= 0; --i) {
            pending.push_back(n->getNodeChild(i));
        }
    }
}

void DzScene::reindexName(DzNode* node) {
    auto it = m_indexedName.find(node);
    if (it == m_indexedName.end()) {
        return;
    }
    m_byName.remove(it.value(), node);
    it.value() = node->getName();
    m_byName.insert(it.value(), node);
}

void DzScene::forget(QObject* object) {
    // The node is being destroyed, so only its address is used (DzNode derives from
    // QObject through single inheritance: the addresses are equal).
    auto* node = reinterpret_cast<DzNode*>(object);
    auto it = m_index.find(node);
    if (m_destroying || it == m_index.end()) {
        return;
    }
    const int index = it.value();
    m_index.erase(it);
    m_byName.remove(m_indexedName.value(node), node);
    m_indexedName.remove(node);
    m_nodes.erase(m_nodes.begin() + index);
    for (size_t i = size_t(index); i < m_nodes.size(); ++i) {
        m_index[m_nodes[i]] = int(i);
    }
}

int DzScene::getFrame() const {
    return floorDiv(m_time, m_timeStep);
}

void DzScene::setFrame(int frame) {
    const DzHostClock::Scope timed;
    const long long t = static_cast<long long>(frame) * m_timeStep;
    m_time = t > DZ_MAX_TIME ? DZ_MAX_TIME : t < -DZ_MAX_TIME ? -DZ_MAX_TIME : DzTime(t);
}

void DzScene::setTimeStep(DzTime step) {
    if (step > 0) {
        m_timeStep = step;
    }
}

void DzScene::update() {
    const DzHostClock::Scope timed;
    // Index loop: a node's update may not add nodes, but stays safe if it does.
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        m_nodes[i]->update(false);
    }
}
