#include "import/build_meshes.h"

#include "compat/qt_compat.h"
#include "document/doc_animation.h"
#include "import/animation_keys.h"
#include "import/figure_shape.h"
#include "import/merge_meshes.h"
#include "import/mesh_build.h"
#include "import/mesh_node.h"
#include "import/skeleton.h"

#include <dzapp.h>
#include <dzprogress.h>

namespace yfx {
namespace importer {

namespace {

bool anyTrackKey(const SceneDoc& doc) {
    for (const DocAnimation& animation : doc.animations) {
        for (const DocTrack& track : animation.tracks) {
            if (trackHasKeys(track)) {
                return true;
            }
        }
    }
    return false;
}

// Says in the host's log what a bake over its budget did to animation a.
void reportThinning(const BakedFrames& baked, std::size_t a, std::uint64_t budget) {
    if (dzApp == nullptr || (!baked.thinned() && !baked.over_budget)) {
        return;
    }
    const QString what = QStringLiteral("YFX import: animation %1: %2 keyed tracks")
                             .arg(qulonglong(a))
                             .arg(qulonglong(baked.keyed_tracks));
    if (baked.over_budget) {
        dzApp->warning(what +
                       QStringLiteral(" do not fit the %1 samples left of the import's bake "
                                      "budget, even at two frames each; imported without keys")
                           .arg(qulonglong(budget)));
        return;
    }
    dzApp->warning(what +
                   QStringLiteral(" over %1 frames exceed the %2 samples left of the import's "
                                  "bake budget; baked one frame in every %3, and the last "
                                  "(%4 frames)")
                       .arg(qlonglong(baked.frames))
                       .arg(qulonglong(budget))
                       .arg(qlonglong(baked.stride))
                       .arg(qlonglong(baked.kept)));
}

// Every animation in index order, from one budget for the read.
void bakeEveryAnimation(ImportSession& session) {
    std::uint64_t budgetLeft = session.bake_sample_budget;
    for (std::size_t a = 0; a < session.document.animations.size(); ++a) {
        const std::uint64_t before = budgetLeft;
        BakedFrames baked;
        bakeAnimation(session.document, std::int32_t(a), budgetLeft, &baked);
        reportThinning(baked, a, before);
        if (a == 0) {
            session.first_animation_frames = baked;
        }
    }
}

void plainPath(ImportSession& session, MeshBuild& build) {
    if (!build.meshes.empty() && !isOn(session.options.import_groups)) {
        giveBaseName(session, build.meshes[0]);
    }
    bakeEveryAnimation(session);
    if (isOn(session.options.import_joints)) {
        createBoneHierarchy(session, build);
    }
    DzProgress progress(QStringLiteral("Building the meshes"), int(build.meshes.size()));
    for (const ImportMesh& m : build.meshes) {
        buildMeshNode(session, build, m);
        progress.step();
    }
}

void figurePath(ImportSession& session, MeshBuild& build) {
    SceneDoc& doc = session.document;
    if (!doc.animations.empty()) {
        bakeEveryAnimation(session);
        for (DocAnimation& animation : doc.animations) {
            alignRotationKeys(animation);
        }
    }
    if (isOn(session.options.import_joints)) {
        createBoneHierarchy(session, build);
    }
    // Without joints, or when no bone could be a root (a file whose vertices
    // carry weights but which has no bones, or whose bones all sit in parent
    // cycles), the mesh still needs a figure to reach the scene.
    if (!session.current_figure) {
        createEmptyFigure(session, build);
    }
    if (!build.meshes.empty()) {
        giveBaseName(session, build.meshes[0]);
        buildFigureShape(session, build, build.meshes[0]);
    }
}

} // namespace

void regroupIntoFirst(SceneDoc& doc) {
    if (doc.groups.empty()) {
        return;
    }
    std::int32_t total = 0;
    for (DocMesh& mesh : doc.meshes) {
        for (DocPolygon& polygon : mesh.polygons) {
            polygon.group = 0;
            ++total;
        }
    }
    for (DocGroup& group : doc.groups) {
        group.group_value = 0;
    }
    doc.groups[0].group_value = total;
}

bool needsFigurePath(const ImportSession& session) {
    const SceneDoc& doc = session.document;
    if (!doc.bones.empty() && !doc.animations.empty() && anyTrackKey(doc)) {
        return true;
    }
    const std::size_t least = isOn(session.options.import_joints) ? 1 : 2;
    for (const DocVertex& vertex : doc.vertices) {
        if (vertex.weights.size() >= least) {
            return true;
        }
    }
    return false;
}

int buildMeshes(ImportSession& session) {
    SceneDoc& doc = session.document;
    const bool figure = needsFigurePath(session);
    mergeMeshes(doc);
    if (figure || !isOn(session.options.import_groups)) {
        regroupIntoFirst(doc);
    }
    MeshBuild build;
    build.bones = buildBoneFrames(doc);
    build.meshes = buildImportMeshes(doc);
    if (figure) {
        figurePath(session, build);
    } else {
        plainPath(session, build);
    }
    return 1;
}

} // namespace importer
} // namespace yfx
