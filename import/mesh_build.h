// The work records of one run of buildMeshes: the build meshes, the bone
// frames and, for the shape being built, the host material made for each
// document material. They live for that run only.
#pragma once

#include <vector>

#include "import/bone_frames.h"
#include "import/import_meshes.h"

class DzMaterial;

namespace yfx {
namespace importer {

struct MeshBuild {
    std::vector<ImportMesh> meshes;
    BoneFrames bones;
    // Indexed by document material: the host material the current shape got
    // for it, null when none was made or its setup failed. Reset per shape.
    std::vector<DzMaterial*> shape_materials;
};

} // namespace importer
} // namespace yfx
