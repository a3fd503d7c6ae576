// Skin weights of a glTF file that Assimp 5.2 misreads: WEIGHTS_n stored as
// normalised unsigned bytes or shorts, which it copies as raw bytes into
// floats. Those primitives' JOINTS_n and WEIGHTS_n are read from the file as
// the numbers they stand for (value / 255, value / 65535) and given to the
// scene builder in place of Assimp's bone weight lists.
//
// Assimp makes one aiMesh per glTF primitive, meshes in file order and each
// mesh's primitives in order, keeps each primitive's vertices in accessor
// order (read_steps.h joins none), and gives a skinned primitive one aiBone
// per joint of its node's skin, in the skin's order: so joint j of vertex v
// is aiBone j of that aiMesh, vertex v.
#pragma once

#include "model/model_notes.h"

#include <assimp/mesh.h>

#include <vector>

struct aiScene;

namespace yfx {
namespace model {

class GltfSource;

// Per aiMesh: per aiBone, the weights read from the file; empty for a mesh
// whose weights Assimp reads right (the aiBones' lists stand).
struct SkinWeightTable {
    std::vector<std::vector<std::vector<aiVertexWeight>>> meshes;

    // The weights of bone `b` of mesh `m`: the table's, else the aiBone's.
    void weightsOf(const aiMesh& mesh, unsigned m, unsigned b, const aiVertexWeight*& first,
                   unsigned& count) const;
};

SkinWeightTable mendGltfWeights(const aiScene& scene, GltfSource& source, ModelNotes& notes);

} // namespace model
} // namespace yfx
