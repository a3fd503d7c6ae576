#include "dzselectionmap.h"

#include "dznode.h"

DzSelectionMap::DzSelectionMap() = default;

DzSelectionMap::~DzSelectionMap() = default;

DzError DzSelectionMap::addPair(const QString& faceGroupName, DzNode* node, bool replaceIfExists) {
    if (faceGroupName.isEmpty() || !node) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    auto it = m_byGroup.constFind(faceGroupName);
    if (it != m_byGroup.constEnd()) {
        if (!replaceIfExists) {
            return DZ_ILLEGAL_OPERATION_ERROR;
        }
        m_pairs[size_t(it.value())].node = node;
        return DZ_NO_ERROR;
    }
    m_byGroup.insert(faceGroupName, int(m_pairs.size()));
    m_pairs.push_back(Pair{faceGroupName, QPointer<DzNode>(node)});
    return DZ_NO_ERROR;
}

DzNode* DzSelectionMap::getPairNode(int index) const {
    return index >= 0 && index < int(m_pairs.size()) ? m_pairs[size_t(index)].node.data() : nullptr;
}

QString DzSelectionMap::getPairGroup(int index) const {
    return index >= 0 && index < int(m_pairs.size()) ? m_pairs[size_t(index)].group : QString();
}

DzNode* DzSelectionMap::findNodeForGroup(const QString& group) const {
    auto it = m_byGroup.constFind(group);
    return it == m_byGroup.constEnd() ? nullptr : m_pairs[size_t(it.value())].node.data();
}

QString DzSelectionMap::findGroupForNode(const DzNode* node) const {
    if (!node) {
        return QString();
    }
    for (const Pair& p : m_pairs) {
        if (p.node.data() == node) {
            return p.group;
        }
    }
    return QString();
}
