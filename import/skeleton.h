// The document's bones as a host figure with a bone hierarchy.
#pragma once

#include <cstdint>

#include "import/import_session.h"
#include "import/mesh_build.h"

class QString;

namespace yfx {
namespace importer {

// Gives the build mesh the file's base name (the source path's file name
// without directory and extension).
void giveBaseName(const ImportSession& session, ImportMesh& m);

// "Figure<index>", or, when build meshes exist, "<base name>_Figure<index>"
// after giving the first build mesh the file's base name.
QString figureName(const ImportSession& session, MeshBuild& build, std::int32_t index);

// Creates host bone b and then its whole subtree, depth first with children
// in index order (without recursion, so a deep chain cannot exhaust the
// stack). Each bone is named after its frame, takes rotation order XYZ, its
// world position as origin, its frame's end point and the Euler angles of its
// world rotation as orientation, becomes the child of its parent's host bone
// or else of the current figure (made "Figure<b>" or "<base>_Figure<b>" and
// added to the scene when there is none yet), is added to the scene and,
// with animation on, keyed (keyBone). A bone that cannot be placed is
// deleted, and its subtree is not made. Returns 1 when bone b was made, 0
// otherwise (b out of range, or the host refused it).
int createBone(ImportSession& session, MeshBuild& build, std::int32_t b);

// createBone for every root bone (no parent), in index order.
void createBoneHierarchy(ImportSession& session, MeshBuild& build);

// A figure without bones, "Figure0" or "<base>_Figure0", added to the scene;
// it becomes the current figure unless there is one. Returns 1, or 0 when the
// scene refuses it.
int createEmptyFigure(ImportSession& session, MeshBuild& build);

} // namespace importer
} // namespace yfx
