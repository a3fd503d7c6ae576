// What the gathering steps share besides the session: the first DocBone of
// each host node, so that "the bone of node X" is one look-up rather than a
// scan of the bones, and whether log lines are written.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "export/export_session.h"

class DzNode;

namespace yfx {
namespace exporter {

// Host node -> index of the first DocBone whose host node it is.
using BoneIndexOfNode = std::unordered_map<const DzNode*, std::int32_t>;

// The DocBone index of the node, or -1 when it has no record (or is null).
inline std::int32_t boneIndexOf(const BoneIndexOfNode& bones, const DzNode* node) {
    if (node == nullptr) {
        return -1;
    }
    const auto found = bones.find(node);
    return found != bones.end() ? found->second : -1;
}

inline bool loggingOn(const ExportSession& session) {
    return isOn(session.options.logging_enabled);
}

} // namespace exporter
} // namespace yfx
