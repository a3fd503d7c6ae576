#include "prepare/export_passes.h"

#include "document/doc_animation.h"
#include "prepare/bone_locals.h"
#include "prepare/materials.h"
#include "prepare/skin_weights.h"
#include "prepare/surfaces.h"
#include "prepare/track_keys.h"
#include "prepare/uv_expansion.h"
#include "prepare/vertex_pool.h"

namespace yfx {
namespace prepare {

namespace {

// Options hold exactly 1 when on; any other value is off.
bool on(std::int32_t option) {
    return option == 1;
}

} // namespace

ExportPassReport runExportPasses(SceneDoc& doc, const ExportPassOptions& options) {
    ExportPassReport report;
    const auto done = [&options](const char* pass) {
        if (options.on_pass_done) {
            options.on_pass_done(pass);
        }
    };

    expandMeshUVs(doc);
    done("expandMeshUVs");
    if (on(options.collapse_uvs)) {
        report.spanned_tiles = collapseUVTiles(doc);
        done("collapseUVTiles");
    }
    if (on(options.merge_materials)) {
        mergeMeshSurfaces(doc);
        done("mergeMeshSurfaces");
    }
    collectSurfaces(doc);
    done("collectSurfaces");
    writePlaceholderTextures(doc, options.target_path);
    done("writePlaceholderTextures");
    if (on(options.merge_materials)) {
        mergeSurfacesToMaterials(doc);
        done("mergeSurfacesToMaterials");
    } else {
        surfacesToMaterials(doc);
        done("surfacesToMaterials");
    }
    compactMeshVertices(doc);
    done("compactMeshVertices");
    computeBoneLocals(doc);
    done("computeBoneLocals");
    prepareSkinWeights(doc);
    done("prepareSkinWeights");
    buildVertexPool(doc);
    done("buildVertexPool");
    if (on(options.export_textures)) {
        report.textures_copied = copyTexturesToTarget(doc, options.target_path, &report.copies);
        done("copyTexturesToTarget");
    }
    for (DocAnimation& animation : doc.animations) {
        keysRelativeToRest(doc, animation);
    }
    done("keysRelativeToRest");
    setAnimationFrameRange(doc);
    done("setAnimationFrameRange");
    for (DocAnimation& animation : doc.animations) {
        alignRotationKeys(animation);
    }
    done("alignRotationKeys");
    return report;
}

} // namespace prepare
} // namespace yfx
