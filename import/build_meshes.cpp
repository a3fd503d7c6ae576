#include "import/build_meshes.h"

#include "document/doc_animation.h"
#include "import/animation_keys.h"
#include "import/figure_shape.h"
#include "import/merge_meshes.h"
#include "import/mesh_build.h"
#include "import/mesh_node.h"
#include "import/skeleton.h"

#include <dzprogress.h>

namespace yfx {
namespace importer {

namespace {

bool anyTrackKey(const SceneDoc& doc) {
    for (const DocAnimation& animation : doc.animations) {
        for (const DocTrack& track : animation.tracks) {
            if (!track.position_keys.empty() || !track.rotation_keys.empty() ||
                !track.scale_keys.empty()) {
                return true;
            }
        }
    }
    return false;
}

// Every animation in index order, from one budget for the read.
void bakeEveryAnimation(ImportSession& session) {
    std::uint64_t budgetLeft = session.bake_sample_budget;
    for (std::size_t a = 0; a < session.document.animations.size(); ++a) {
        bakeAnimation(session.document, std::int32_t(a), budgetLeft);
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
    } else {
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
