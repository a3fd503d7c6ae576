// DzSelectionMap: pairs of face-group names and the nodes picked through them.
// Group names are unique within a map. A pair whose node has been deleted answers
// NULL for its node.
//
// What still differs from the host: removing and clearing pairs, findPair and
// the signals are left out.
#pragma once

#include "dzbase.h"

#include <QtCore/QHash>
#include <QtCore/QPointer>

#include <vector>

class DzNode;

class DZ_EXPORT DzSelectionMap : public DzBase {
    Q_OBJECT
public:
    DzSelectionMap();
    ~DzSelectionMap() override;

public slots:
    // DZ_ILLEGAL_ARGUMENT_ERROR for an empty group name or NULL node;
    // DZ_ILLEGAL_OPERATION_ERROR when the group is already paired and
    // replaceIfExists is false (with it, the pair's node is replaced).
    DzError addPair(const QString& faceGroupName, DzNode* node, bool replaceIfExists = false);
    int getNumPairs() const { return int(m_pairs.size()); }
    DzNode* getPairNode(int index) const;
    QString getPairGroup(int index) const;
    DzNode* findNodeForGroup(const QString& group) const;
    // The group of the first pair with this node; empty when none.
    QString findGroupForNode(const DzNode* node) const;

private:
    struct Pair {
        QString group;
        QPointer<DzNode> node;
    };
    std::vector<Pair> m_pairs;
    QHash<QString, int> m_byGroup;
};
