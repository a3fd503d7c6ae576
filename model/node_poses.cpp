#include "model/node_poses.h"

#include <assimp/anim.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cmath>

namespace yfx {
namespace model {

namespace {

// Assimp leaves the rate 0 when the file gives none; 25 ticks a second is
// what its own viewers assume then.
constexpr double kDefaultTicksPerSecond = 25.0;

// The keys around a tick and how far the tick lies between them; before the
// first key or after the last, both name that key.
struct KeyBracket {
    std::size_t a = 0;
    std::size_t b = 0;
    double f = 0.0;
};

template <class Key> KeyBracket bracketOf(const Key* keys, unsigned count, double tick) {
    const std::size_t after =
        std::size_t(std::upper_bound(keys, keys + count, tick,
                                     [](double t, const Key& k) { return t < k.mTime; }) -
                    keys);
    if (after == 0) {
        return KeyBracket{};
    }
    if (after >= count) {
        return KeyBracket{count - 1u, count - 1u, 0.0};
    }
    const double span = keys[after].mTime - keys[after - 1].mTime;
    return KeyBracket{after - 1, after, span > 0 ? (tick - keys[after - 1].mTime) / span : 0.0};
}

Vec3 sampleVector(const aiVectorKey* keys, unsigned count, double tick, const Vec3& fallback) {
    if (keys == nullptr || count == 0) {
        return fallback;
    }
    const KeyBracket k = bracketOf(keys, count, tick);
    const Vec3 a = toDouble(keys[k.a].mValue);
    if (k.a == k.b) {
        return a;
    }
    return a + (toDouble(keys[k.b].mValue) - a) * k.f;
}

Quat toDouble(const aiQuaternion& q) {
    return Quat(q.w, q.x, q.y, q.z);
}

Quat sampleRotation(const aiQuatKey* keys, unsigned count, double tick, const Quat& fallback) {
    if (keys == nullptr || count == 0) {
        return fallback;
    }
    const KeyBracket k = bracketOf(keys, count, tick);
    if (k.a == k.b) {
        return toDouble(keys[k.a].mValue);
    }
    Quat out;
    Quat::Interpolate(out, toDouble(keys[k.a].mValue), toDouble(keys[k.b].mValue), k.f);
    out.Normalize();
    return out;
}

template <class Key> double lastTime(const Key* keys, unsigned count) {
    return keys != nullptr && count > 0 ? keys[count - 1].mTime : 0.0;
}

} // namespace

NodePoses::NodePoses(const aiScene& scene, const NodeTable& table, const SpaceConversion& space,
                     int animation, ModelNotes& notes, const AnimationCurves* curves)
    : m_table(table), m_space(space) {
    const std::size_t n = std::size_t(table.size());
    m_rest.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Mat4 local = toDouble(table.nodes[i]->mTransformation);
        m_rest[i] = isFinite(local) ? space.transform(local) : Mat4();
    }
    m_channels.assign(n, nullptr);
    m_curves.assign(n, nullptr);
    m_restParts.assign(n, RestParts{});
    m_driven.assign(n, 0);
    m_drivenOnPath.assign(n, 0);
    if (animation < 0 || scene.mAnimations == nullptr ||
        unsigned(animation) >= scene.mNumAnimations || scene.mAnimations[animation] == nullptr) {
        return;
    }
    const aiAnimation& anim = *scene.mAnimations[animation];
    m_ticksPerSecond = anim.mTicksPerSecond > 0 && std::isfinite(anim.mTicksPerSecond)
                           ? anim.mTicksPerSecond
                           : kDefaultTicksPerSecond;
    if (!(anim.mTicksPerSecond > 0)) {
        notes.apply(format("animation '%s': no tick rate in the file: %g ticks a second taken",
                           anim.mName.C_Str(), kDefaultTicksPerSecond));
    }
    double lastTick = std::isfinite(anim.mDuration) ? anim.mDuration : 0.0;
    for (unsigned c = 0; anim.mChannels != nullptr && c < anim.mNumChannels; ++c) {
        const aiNodeAnim* channel = anim.mChannels[c];
        if (channel == nullptr) {
            continue;
        }
        const int node = table.find(channel->mNodeName);
        if (node < 0) {
            notes.drop(format("animation channel '%s': no node of that name to move",
                              channel->mNodeName.C_Str()));
            continue;
        }
        if (m_channels[std::size_t(node)] != nullptr) {
            notes.drop(format("animation channel '%s': a second channel for one node (the "
                              "first is kept)",
                              channel->mNodeName.C_Str()));
            continue;
        }
        m_channels[std::size_t(node)] = channel;
        RestParts& rest = m_restParts[std::size_t(node)];
        decompose(toDouble(table.nodes[std::size_t(node)]->mTransformation), rest.position,
                  rest.rotation, rest.scale);
        if (curves != nullptr) {
            const auto found = curves->find(channel->mNodeName.C_Str());
            m_curves[std::size_t(node)] = found != curves->end() ? &found->second : nullptr;
        }
        m_driven[std::size_t(node)] = 1;
        m_animated = true;
        lastTick = std::max({lastTick, lastTime(channel->mPositionKeys, channel->mNumPositionKeys),
                             lastTime(channel->mRotationKeys, channel->mNumRotationKeys),
                             lastTime(channel->mScalingKeys, channel->mNumScalingKeys)});
    }
    if (anim.mMeshChannels != nullptr && anim.mNumMeshChannels > 0) {
        notes.drop(format("animation '%s': %u mesh channels (vertex animation): the host keys "
                          "transforms only",
                          anim.mName.C_Str(), anim.mNumMeshChannels));
    }
    if (anim.mMorphMeshChannels != nullptr && anim.mNumMorphMeshChannels > 0) {
        notes.drop(format("animation '%s': %u morph channels: the host scene holds no morphs",
                          anim.mName.C_Str(), anim.mNumMorphMeshChannels));
    }
    const double seconds = lastTick / m_ticksPerSecond;
    m_duration = std::isfinite(seconds) && seconds > 0 ? seconds : 0.0;
    // The table lists every parent before its children.
    for (std::size_t i = 0; i < n; ++i) {
        const int p = table.parent[i];
        m_drivenOnPath[i] = (p >= 0 ? m_drivenOnPath[std::size_t(p)] : 0) + (m_driven[i] ? 1 : 0);
        if (m_drivenOnPath[i] > 0) {
            m_timedNodes.push_back(int(i));
        }
    }
}

Mat4 NodePoses::localAt(int node, double seconds) const {
    const aiNodeAnim* channel = m_channels[std::size_t(node)];
    if (channel == nullptr) {
        return m_rest[std::size_t(node)];
    }
    // The parts the channel does not key come from the node itself; a part
    // the file's own curve keys is sampled from it instead of Assimp's keys.
    const RestParts& rest = m_restParts[std::size_t(node)];
    const NodeCurves* curves = m_curves[std::size_t(node)];
    const double tick = seconds * m_ticksPerSecond;
    double v[4];
    Vec3 position, scale;
    Quat rotation;
    if (curves != nullptr && !curves->translation.empty()) {
        sampleCurve(curves->translation, seconds, v);
        position = Vec3(v[0], v[1], v[2]);
    } else {
        position =
            sampleVector(channel->mPositionKeys, channel->mNumPositionKeys, tick, rest.position);
    }
    if (curves != nullptr && !curves->rotation.empty()) {
        sampleCurve(curves->rotation, seconds, v);
        rotation = Quat(v[3], v[0], v[1], v[2]);
    } else {
        rotation =
            sampleRotation(channel->mRotationKeys, channel->mNumRotationKeys, tick, rest.rotation);
    }
    if (curves != nullptr && !curves->scale.empty()) {
        sampleCurve(curves->scale, seconds, v);
        scale = Vec3(v[0], v[1], v[2]);
    } else {
        scale = sampleVector(channel->mScalingKeys, channel->mNumScalingKeys, tick, rest.scale);
    }
    const Mat4 local = compose(position, rotation, scale);
    return isFinite(local) ? m_space.transform(local) : m_rest[std::size_t(node)];
}

void NodePoses::worldsAt(double seconds, std::vector<Mat4>& out) const {
    const std::size_t n = std::size_t(m_table.size());
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        worldInto(i, seconds, out);
    }
}

void NodePoses::timedWorldsAt(double seconds, std::vector<Mat4>& worlds) const {
    if (worlds.size() != std::size_t(m_table.size())) {
        worldsAt(seconds, worlds);
        return;
    }
    // A timed node's parent is timed too (recomputed before it, the table
    // being in pre-order) or has the same world at every time.
    for (const int i : m_timedNodes) {
        worldInto(std::size_t(i), seconds, worlds);
    }
}

void NodePoses::worldInto(std::size_t node, double seconds, std::vector<Mat4>& worlds) const {
    const Mat4 local = localAt(int(node), seconds);
    const int p = m_table.parent[node];
    worlds[node] = p >= 0 ? worlds[std::size_t(p)] * local : local;
}

} // namespace model
} // namespace yfx
