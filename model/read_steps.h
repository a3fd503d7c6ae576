// The Assimp post-processing steps every model read runs, in one place so that
// the conversion and its benchmark read models the same way.
//
// Only the structure check: it makes Assimp refuse a scene whose indices point
// outside their arrays. Triangulation is left out on purpose (the host keeps
// quads; the scene builder splits larger polygons itself), and so is joining
// identical vertices (the builder joins them itself, only where every face
// keeps distinct corners: corner_weld.h).
#pragma once

#include <assimp/postprocess.h>

namespace yfx {
namespace model {

constexpr unsigned kModelReadSteps = aiProcess_ValidateDataStructure;

} // namespace model
} // namespace yfx
