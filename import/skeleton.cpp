#include "import/skeleton.h"

#include "compat/qt_compat.h"
#include "import/animation_keys.h"
#include "normalise/index_checks.h"
#include "platform/path.h"
#include "util/matrix_math.h"

#include <dzbone.h>
#include <dzfigure.h>
#include <dzfloatproperty.h>
#include <dzprogress.h>
#include <dzscene.h>

#include <QtCore/QString>

#include <memory>

namespace yfx {
namespace importer {

namespace {

constexpr float kDegreesPerRadian = 57.29578f;

void setUntimed(DzFloatProperty* property, float value) {
    if (property != nullptr) {
        property->setValue(value);
    }
}

void nameNode(DzNode& node, const QString& name) {
    node.setName(name);
    node.setLabel(name);
}

// Deletes a node the scene did not take (a node of the scene belongs to it).
void dropUnlessInScene(DzNode* node) {
    if (node != nullptr && dzScene->findNodeIndex(node) < 0) {
        delete node;
    }
}

// Places the bone in the hierarchy: under its parent's host bone, or under
// the current figure, made first when there is none. False when the host
// refuses; the bone is then in no tree.
bool attachBone(ImportSession& session, MeshBuild& build, const BoneFrame& frame, DzBone* bone,
                std::int32_t b) {
    if (frame.parent >= 0) {
        if (DzBone* parent = build.bones.frames[std::size_t(frame.parent)].host_bone) {
            return parent->addNodeChild(bone, false) == DZ_NO_ERROR;
        }
    }
    if (session.current_figure) {
        return session.current_figure->addNodeChild(bone, false) == DZ_NO_ERROR;
    }
    auto figure = std::make_unique<DzFigure>();
    nameNode(*figure, figureName(session, build, b));
    if (figure->addNodeChild(bone, false) != DZ_NO_ERROR) {
        return false;
    }
    if (!dzScene->addNode(figure.get())) {
        figure->removeNodeChild(bone, false);
        return false;
    }
    session.current_figure = figure.release(); // the scene owns it now
    return true;
}

bool createOneBone(ImportSession& session, MeshBuild& build, std::int32_t b) {
    BoneFrame& frame = build.bones.frames[std::size_t(b)];
    auto owned = std::make_unique<DzBone>();
    DzBone* bone = owned.get();
    nameNode(*bone, QString::fromWCharArray(frame.name.wide));
    bone->setRotationOrder(DzRotationOrder(DzRotationOrder::XYZ));

    AffineDecomposition parts;
    decomposeAffine(frame.world, parts);
    bone->setEndPoint(DzVec3(frame.end_point[0], frame.end_point[1], frame.end_point[2]), true);
    bone->setOrigin(DzVec3(parts.t[0], parts.t[1], parts.t[2]), true);
    float euler[3];
    quatToEuler(parts.q, euler);
    setUntimed(bone->getOrientXControl(), euler[0] * kDegreesPerRadian);
    setUntimed(bone->getOrientYControl(), euler[1] * kDegreesPerRadian);
    setUntimed(bone->getOrientZControl(), euler[2] * kDegreesPerRadian);

    if (!attachBone(session, build, frame, bone, b)) {
        return false; // `owned` deletes the bone
    }
    owned.release();
    if (!dzScene->addNode(bone)) {
        dropUnlessInScene(bone);
        return false;
    }
    frame.host_bone = bone;
    if (isOn(session.options.import_animation)) {
        keyBone(session.document, build.bones, session.first_animation_frames, bone, b);
    }
    return true;
}

void pushChildren(const BoneFrames& bones, std::int32_t b, std::vector<std::int32_t>& pending) {
    const std::size_t first = bones.first_child[std::size_t(b)];
    for (std::size_t i = bones.first_child[std::size_t(b) + 1]; i > first; --i) {
        pending.push_back(bones.children[i - 1]);
    }
}

} // namespace

void giveBaseName(const ImportSession& session, ImportMesh& m) {
    m.name.setWide(fileTitleOf(session.source_path).c_str());
}

QString figureName(const ImportSession& session, MeshBuild& build, std::int32_t index) {
    if (build.meshes.empty()) {
        return QStringLiteral("Figure%1").arg(index);
    }
    giveBaseName(session, build.meshes[0]);
    return QString::fromWCharArray(build.meshes[0].name.wide) +
           QStringLiteral("_Figure%1").arg(index);
}

int createBone(ImportSession& session, MeshBuild& build, std::int32_t b) {
    if (dzScene == nullptr || !normalise::indexIn(b, build.bones.size())) {
        return 0;
    }
    if (!createOneBone(session, build, b)) {
        return 0;
    }
    std::vector<std::int32_t> pending;
    pushChildren(build.bones, b, pending);
    while (!pending.empty()) {
        const std::int32_t next = pending.back();
        pending.pop_back();
        if (createOneBone(session, build, next)) {
            pushChildren(build.bones, next, pending);
        }
    }
    return 1;
}

void createBoneHierarchy(ImportSession& session, MeshBuild& build) {
    DzProgress progress(QStringLiteral("Creating the bones"), int(build.bones.size()));
    for (std::size_t b = 0; b < build.bones.size(); ++b) {
        if (build.bones.frames[b].parent < 0) {
            createBone(session, build, std::int32_t(b));
        }
        progress.step();
    }
}

int createEmptyFigure(ImportSession& session, MeshBuild& build) {
    if (dzScene == nullptr) {
        return 0;
    }
    auto figure = std::make_unique<DzFigure>();
    nameNode(*figure, figureName(session, build, 0));
    if (!dzScene->addNode(figure.get())) {
        return 0;
    }
    DzFigure* added = figure.release(); // the scene owns it now
    if (!session.current_figure) {
        session.current_figure = added;
    }
    return 1;
}

} // namespace importer
} // namespace yfx
