#include "dzskeleton.h"

#include "dzbone.h"

#include <vector>

namespace {

// Depth first in child order, with a stack of its own rather than recursion,
// so that a chain of many bones cannot exhaust the call stack.
void collectBones(const DzNode* node, DzBoneList& bones) {
    std::vector<DzBone*> pending;
    const auto pushChildBones = [&pending](const DzNode* parent) {
        for (int i = parent->getNumNodeChildren() - 1; i >= 0; --i) {
            if (auto* bone = qobject_cast<DzBone*>(parent->getNodeChild(i))) {
                pending.push_back(bone);
            }
        }
    };
    pushChildBones(node);
    while (!pending.empty()) {
        DzBone* bone = pending.back();
        pending.pop_back();
        bones.append(bone);
        pushChildBones(bone);
    }
}

} // namespace

DzSkeleton::DzSkeleton() = default;

DzSkeleton::~DzSkeleton() = default;

void DzSkeleton::getAllBones(DzBoneList& bones) const {
    collectBones(this, bones);
}

DzBone* DzSkeleton::findBone(const QString& name) const {
    DzBoneList bones;
    getAllBones(bones);
    for (DzBone* bone : bones) {
        if (bone->getName() == name) {
            return bone;
        }
    }
    return nullptr;
}
