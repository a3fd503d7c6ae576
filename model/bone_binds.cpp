#include "model/bone_binds.h"

#include <assimp/scene.h>

namespace yfx {
namespace model {

BoneBinds computeBoneBinds(const aiScene& scene, const NodeTable& table,
                           const SkeletonPlan& skeletons, const NodePoses& poses,
                           const SpaceConversion& space) {
    const std::size_t n = std::size_t(table.size());
    BoneBinds binds;
    binds.world.assign(n, Mat4());
    std::vector<char> known(n, 0);
    for (std::size_t m = 0; m < skeletons.meshSkeleton.size(); ++m) {
        if (skeletons.meshSkeleton[m] < 0) {
            continue;
        }
        const aiMesh& mesh = *scene.mMeshes[m];
        for (std::size_t b = 0; b < skeletons.boneNodes[m].size(); ++b) {
            const int node = skeletons.boneNodes[m][b];
            if (node < 0 || known[std::size_t(node)] || mesh.mBones[b] == nullptr) {
                continue;
            }
            const Mat4 offset = toDouble(mesh.mBones[b]->mOffsetMatrix);
            if (!isFinite(offset)) {
                continue;
            }
            binds.world[std::size_t(node)] = safeInverse(space.transform(offset));
            known[std::size_t(node)] = 1;
        }
    }
    auto sameSkeleton = [&](std::size_t a, int b) {
        return b >= 0 && skeletons.nodeSkeleton[a] >= 0 &&
               skeletons.nodeSkeleton[a] == skeletons.nodeSkeleton[std::size_t(b)];
    };
    // Up from children (reverse pre-order meets children before parents).
    for (std::size_t i = n; i-- > 0;) {
        const int p = table.parent[i];
        if (known[i] && sameSkeleton(i, p) && !known[std::size_t(p)]) {
            binds.world[std::size_t(p)] = binds.world[i] * safeInverse(poses.restLocal(int(i)));
            known[std::size_t(p)] = 1;
        }
    }
    // Down from parents; where the model places it for what is left.
    std::vector<Mat4> rest(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int p = table.parent[i];
        rest[i] = p >= 0 ? rest[std::size_t(p)] * poses.restLocal(int(i)) : poses.restLocal(int(i));
        if (known[i] || skeletons.nodeSkeleton[i] < 0) {
            continue;
        }
        binds.world[i] = sameSkeleton(i, p) && known[std::size_t(p)]
                             ? binds.world[std::size_t(p)] * poses.restLocal(int(i))
                             : rest[i];
        known[i] = 1;
    }
    // Into each skeleton's frame.
    std::vector<Mat4> fromFrame(skeletons.frameNode.size());
    for (std::size_t s = 0; s < skeletons.frameNode.size(); ++s) {
        const int frame = skeletons.frameNode[s];
        fromFrame[s] = frame >= 0 ? safeInverse(rest[std::size_t(frame)]) : Mat4();
    }
    for (std::size_t i = 0; i < n; ++i) {
        const int s = skeletons.nodeSkeleton[i];
        if (s >= 0 && std::size_t(s) < fromFrame.size()) {
            binds.world[i] = fromFrame[std::size_t(s)] * binds.world[i];
        }
    }
    return binds;
}

} // namespace model
} // namespace yfx
