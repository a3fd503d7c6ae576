// The model's node transforms over time: each node's local transform from
// its animation channel when it has one (Assimp's keys interpolated linearly,
// rotations by slerp, held before the first and after the last key; or, for
// the parts the file's own curves state, those curves with their
// interpolation: gltf_curves.h), else from the node itself; world transforms by composing down the
// node table. Everything comes out in the host's space (see SpaceConversion).
#pragma once

#include "model/key_curves.h"
#include "model/model_notes.h"
#include "model/node_table.h"
#include "model/space_conversion.h"

#include <vector>

struct aiAnimation;
struct aiNodeAnim;
struct aiScene;

namespace yfx {
namespace model {

class NodePoses {
public:
    // `animation`: the aiScene animation to play, or -1 for none; `curves`:
    // that animation's curves read from the file, by node name (null: none).
    NodePoses(const aiScene& scene, const NodeTable& table, const SpaceConversion& space,
              int animation, ModelNotes& notes, const AnimationCurves* curves = nullptr);

    bool animated() const { return m_animated; }
    // The time of the last key (or the animation's duration when longer), seconds.
    double durationSeconds() const { return m_duration; }
    // Per node: an animation channel drives it.
    const std::vector<char>& driven() const { return m_driven; }
    // Per node: the driven nodes on its path from the root, itself included.
    const std::vector<int>& drivenOnPath() const { return m_drivenOnPath; }

    // World transforms of every node at `seconds` (the rest pose without an
    // animation); `out` is resized to the node count.
    void worldsAt(double seconds, std::vector<Mat4>& out) const;
    // Moves `worlds`, which worldsAt filled for some time, to `seconds`:
    // recomputes only the nodes with a driven node on their path from the
    // root, by the same operations as worldsAt. The other nodes' worlds are
    // products of rest transforms alone, the same at every time. Falls back to
    // worldsAt when `worlds` is not one world per node.
    void timedWorldsAt(double seconds, std::vector<Mat4>& worlds) const;
    // A node's local transform at `seconds`.
    Mat4 localAt(int node, double seconds) const;
    // A node's own local transform, whatever the animation says.
    const Mat4& restLocal(int node) const { return m_rest[std::size_t(node)]; }

private:
    // worlds[node] = its parent's world (already in `worlds`) * its local at `seconds`.
    void worldInto(std::size_t node, double seconds, std::vector<Mat4>& worlds) const;

    const NodeTable& m_table;
    SpaceConversion m_space;
    std::vector<Mat4> m_rest;                  // converted local transforms
    std::vector<const aiNodeAnim*> m_channels; // per node, null when not driven
    std::vector<const NodeCurves*> m_curves;   // per driven node, null when none
    // Per driven node: its own (unconverted) position, rotation and scale,
    // which fill the parts its channel does not key.
    struct RestParts {
        Vec3 position, scale;
        Quat rotation;
    };
    std::vector<RestParts> m_restParts;
    std::vector<char> m_driven;
    std::vector<int> m_drivenOnPath;
    std::vector<int> m_timedNodes; // drivenOnPath > 0, in table order
    double m_ticksPerSecond = 25.0;
    double m_duration = 0.0;
    bool m_animated = false;
};

} // namespace model
} // namespace yfx
