// Bone transforms read back from a loaded project file: each bone's local
// transform (its position, rotation and scale, composed as translation *
// rotation * scale with column vectors) chained up its parents, at rest and at
// each key of the first animation (keys are stored relative to the bone's
// rest position, rotation and scale).
#pragma once

#include "gltf_figure.h"

#include "document/scene_doc.h"

#include <string>
#include <vector>

namespace modeltest {

int boneNamed(const yfx::SceneDoc& doc, const std::string& name);
std::string boneName(const yfx::SceneDoc& doc, int bone);

// World transforms of every bone at rest.
std::vector<Affine> restWorlds(const yfx::SceneDoc& doc);
// World transforms of every bone at key `k` of animation 0.
std::vector<Affine> keyWorlds(const yfx::SceneDoc& doc, std::size_t k);

} // namespace modeltest
