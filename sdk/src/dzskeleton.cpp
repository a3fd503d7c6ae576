#include "dzskeleton.h"

#include "dzbone.h"

namespace {

void collectBones(const DzNode* node, DzBoneList& bones) {
    for (int i = 0; i < node->getNumNodeChildren(); ++i) {
        DzNode* child = node->getNodeChild(i);
        if (auto* bone = qobject_cast<DzBone*>(child)) {
            bones.append(bone);
            collectBones(bone, bones);
        }
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
