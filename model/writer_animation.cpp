#include "model/writer_animation.h"

#include <assimp/anim.h>

#include <dzfloatproperty.h>
#include <dznode.h>
#include <dzscene.h>

#include <algorithm>

namespace yfx {
namespace model {

namespace {

// More frames than this are not written (a day at 30 frames per second).
constexpr long long kMaxFrames = 24LL * 3600 * 30;

// The last key time of a node's transform properties, or -1 without keys.
DzTime lastKey(const DzNode& node) {
    const DzFloatProperty* properties[] = {node.getXPosControl(),   node.getYPosControl(),
                                           node.getZPosControl(),   node.getXRotControl(),
                                           node.getYRotControl(),   node.getZRotControl(),
                                           node.getXScaleControl(), node.getYScaleControl(),
                                           node.getZScaleControl(), node.getScaleControl()};
    DzTime last = -1;
    for (const DzFloatProperty* p : properties) {
        if (p != nullptr && p->getNumKeys() > 0) {
            last = std::max(last, p->getKeyTime(p->getNumKeys() - 1));
        }
    }
    return last;
}

} // namespace

aiAnimation* writeAnimation(const WriterTree& tree, const SpaceConversion& toModel,
                            ModelNotes& notes) {
    if (dzScene == nullptr) {
        return nullptr;
    }
    std::vector<int> animated;
    DzTime last = -1;
    for (std::size_t i = 0; i < tree.nodes.size(); ++i) {
        const DzTime nodeLast = lastKey(*tree.nodes[i].host);
        if (nodeLast >= 0) {
            animated.push_back(int(i));
            last = std::max(last, nodeLast);
        }
    }
    if (animated.empty()) {
        return nullptr;
    }
    const DzTime step = dzScene->getTimeStep() > 0 ? dzScene->getTimeStep() : 1;
    const long long first = std::max<long long>(0, dzScene->getAnimRange().getStart() / step);
    long long end = last / step;
    if (end - first + 1 > kMaxFrames) {
        notes.drop(format("animation: frames after the first %lld", kMaxFrames));
        end = first + kMaxFrames - 1;
    }
    if (end < first) {
        end = first;
    }
    const unsigned frames = unsigned(end - first + 1);
    if (dzScene->getAnimRange().getEnd() / step > end) {
        notes.apply(format("animation: written to frame %lld, the last key; the host holds "
                           "that pose to the end of its range (frame %d)",
                           end, int(dzScene->getAnimRange().getEnd() / step)));
    }

    auto* animation = new aiAnimation();
    animation->mName = aiString("Take");
    animation->mTicksPerSecond = double(DZ_TICKS_PER_SECOND) / double(step);
    animation->mDuration = double(frames - 1);
    animation->mNumChannels = unsigned(animated.size());
    animation->mChannels = new aiNodeAnim*[animated.size()];
    for (std::size_t c = 0; c < animated.size(); ++c) {
        auto* channel = new aiNodeAnim();
        channel->mNodeName = aiString(tree.nodes[std::size_t(animated[c])].name);
        channel->mNumPositionKeys = channel->mNumRotationKeys = channel->mNumScalingKeys = frames;
        channel->mPositionKeys = new aiVectorKey[frames];
        channel->mRotationKeys = new aiQuatKey[frames];
        channel->mScalingKeys = new aiVectorKey[frames];
        for (unsigned f = 0; f < frames; ++f) {
            const DzTime time = DzTime((first + f) * step);
            Vec3 position, scale;
            Quat rotation;
            decompose(toModel.transform(localFrame(tree, animated[c], time)), position, rotation,
                      scale);
            channel->mPositionKeys[f] = aiVectorKey(double(f), toFloat(position));
            channel->mRotationKeys[f] =
                aiQuatKey(double(f), aiQuaternion(float(rotation.w), float(rotation.x),
                                                  float(rotation.y), float(rotation.z)));
            channel->mScalingKeys[f] = aiVectorKey(double(f), toFloat(scale));
        }
        animation->mChannels[c] = channel;
    }
    return animation;
}

} // namespace model
} // namespace yfx
