// The one entry point between a gathered document and the writers: every
// processing pass of an export, in its fixed order and under its options.
// Nothing else knows the order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "document/scene_doc.h"
#include "prepare/texture_files.h"
#include "prepare/uv_expansion.h"

namespace yfx {
namespace prepare {

struct ExportPassOptions {
    std::int32_t merge_materials = 0; // 1: surfaces and materials merged by texture
    std::int32_t collapse_uvs = 0;    // 1: UV tiles collapsed onto the first column
    std::int32_t export_textures = 0; // 1: bitmap textures copied beside the target
    std::wstring target_path;         // the file being saved, host convention
    // Called after each pass with the pass's name; the export driver advances
    // its progress with it, the benchmark times the passes with it.
    std::function<void(const char* pass)> on_pass_done;
};

struct ExportPassReport {
    int textures_copied = 0; // 1 when the copy pass ran to its end
    TextureCopyReport copies;
    std::vector<SpannedTiles> spanned_tiles; // surfaces the tile collapse moved over tiles
};

// Runs, in order: expandMeshUVs; collapseUVTiles (collapse_uvs);
// mergeMeshSurfaces (merge_materials); collectSurfaces;
// writePlaceholderTextures; mergeSurfacesToMaterials (merge_materials) or
// surfacesToMaterials; compactMeshVertices; computeBoneLocals;
// prepareSkinWeights; buildVertexPool; copyTexturesToTarget
// (export_textures); keysRelativeToRest for each animation;
// setAnimationFrameRange; alignRotationKeys for each animation. An option
// is on when it holds exactly 1.
ExportPassReport runExportPasses(SceneDoc& doc, const ExportPassOptions& options);

} // namespace prepare
} // namespace yfx
