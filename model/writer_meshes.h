// Assimp meshes from the host scene's shapes, for the scene writer. Each
// node's current facet shape becomes one mesh per material its facets use,
// with the facets as triangles and quads and one Assimp vertex per host
// vertex and UV index pair; UV channel 0 is the mesh's first UV set (or its
// UV map) and channel 1 its second UV set when it has one.
//
// A plain node's mesh is in the node's own frame. A figure's mesh stays in
// the rest space its skin binds it in, and carries one bone per bone binding
// with weights in it: the bone's node, its weights, and as offset matrix the
// inverse of the bone's rest frame. The part of a vertex's weight that no
// bone takes stays with the figure (the host leaves it on the figure node), so
// the figure's node is a bone too where some vertex weighs less than 1; and
// weights the host's 16-bit rounding sums above 1 are scaled back to 1 (Assimp
// scales a vertex by its weights' sum, the host blends). Face groups and the
// selection map have no place in an Assimp scene and are said to be left out.
#pragma once

#include "model/model_notes.h"
#include "model/space_conversion.h"
#include "model/writer_nodes.h"

#include <QtCore/QString>

#include <vector>

struct aiMaterial;
struct aiMesh;

namespace yfx {
namespace model {

struct WrittenMeshes {
    std::vector<aiMesh*> meshes;
    std::vector<aiMaterial*> materials;
};

void writeMeshes(WriterTree& tree, const SpaceConversion& toModel, const QString& outputFolder,
                 WrittenMeshes& out, ModelNotes& notes);

} // namespace model
} // namespace yfx
