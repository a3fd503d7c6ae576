#include "export/node_records.h"

#include <QtCore/QString>

#include <dzmatrix3.h>
#include <dznode.h>

#include "compat/qt_compat.h"
#include "document/doc_append.h"
#include "export/host_values.h"
#include "export/phase_progress.h"

namespace yfx {
namespace exporter {

int gatherNodeRecord(ExportSession& session, DzNode& node, DzTime time, BoneIndexOfNode& bones) {
    const std::wstring label = wideText(node.getLabel());
    SceneDoc& doc = session.document;
    DocBone* bone = addBone(doc);
    if (bone == nullptr) {
        return 0;
    }
    const auto index = static_cast<std::int32_t>(doc.bones.size() - 1);
    bone->name.setWide(label.c_str());
    bone->host_node = &node;
    bone->joint = node.inherits(QStringLiteral("DzBone")) ? 1 : 0;
    bone->skeleton = node.inherits(QStringLiteral("DzSkeleton")) ? 1 : 0;
    bone->parent = -1;
    hostMatrixValues(nodeTransformAt(node, time), bone->host_matrix);
    if (const DzNode* parent = node.getNodeParent()) {
        bone->parent = boneIndexOf(bones, parent);
        bone->root = parent->inherits(QStringLiteral("DzSkeleton")) ? 1 : 0;
    }
    bones.emplace(&node, index); // a node met again keeps its first record
    return 1;
}

void gatherNodeRecords(ExportSession& session, const std::vector<DzNode*>& nodes, DzTime time,
                       BoneIndexOfNode& bones) {
    PhaseProgress progress(session, QStringLiteral("Gathering nodes"),
                           static_cast<long long>(nodes.size()));
    bones.reserve(nodes.size());
    session.node_counter = 0;
    for (DzNode* node : nodes) {
        if (gatherNodeRecord(session, *node, time, bones) == 0) {
            return;
        }
        ++session.node_counter;
        progress.step();
    }
}

} // namespace exporter
} // namespace yfx
