// The work records of one run of buildMeshes: the build meshes, the bone
// frames and, for the shape being built, the host material made for each
// document material. They live for that run only.
#pragma once

#include <cstdint>
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
    // for it, null when none was made or its setup failed. Reset per shape:
    // only the entries of shape_material_indices (the document materials the
    // last shape used, ascending) are cleared, since a shape per group would
    // otherwise clear a table as long as all materials each time.
    std::vector<DzMaterial*> shape_materials;
    std::vector<std::int32_t> shape_material_indices;
};

} // namespace importer
} // namespace yfx
