#include "import/skin_binding.h"

#include "compat/qt_compat.h"
#include "import/selection_map.h"

#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzfigure.h>
#include <dzskinbinding.h>
#include <dzweightmap.h>

#include <limits>
#include <memory>

namespace yfx {
namespace importer {

namespace {

constexpr int kBindingNameLimit = 255;

// The weight maps of the bones the mesh's vertices name, one slot per bone
// (null for a bone that weights none of them).
std::vector<std::unique_ptr<DzWeightMap>>
fillWeightMaps(const SceneDoc& doc, const BoneFrames& bones, const ImportMesh& m) {
    const std::size_t boneCount = bones.size();
    const int vertexCount = int(m.vertices.size());
    std::vector<std::unique_ptr<DzWeightMap>> maps(boneCount);
    // The last mesh vertex each bone's map took a weight for: only a
    // vertex's first entry for a bone counts.
    std::vector<int> lastVertex(boneCount, -1);
    for (int i = 0; i < vertexCount; ++i) {
        const std::int64_t source = m.vertices[std::size_t(i)].source_index;
        if (source < 0 || std::uint64_t(source) >= doc.vertices.size()) {
            continue;
        }
        for (const DocWeight& weight : doc.vertices[std::size_t(source)].weights) {
            if (weight.bone < 0 || std::size_t(weight.bone) >= boneCount ||
                lastVertex[std::size_t(weight.bone)] == i) {
                continue;
            }
            const std::size_t b = std::size_t(weight.bone);
            lastVertex[b] = i;
            if (!maps[b]) {
                maps[b] = std::make_unique<DzWeightMap>(QString());
                maps[b]->beginEdit();
                maps[b]->setNumWeights(vertexCount, false);
            }
            maps[b]->getWeights()[i] = DzWeightMap::floatToWeight(weight.weight);
        }
    }
    return maps;
}

} // namespace

int bindSkin(const ImportSession& session, const MeshBuild& build, const ImportMesh& m,
             const DzObject* object) {
    if (object == nullptr) {
        return 0;
    }
    const SceneDoc& doc = session.document;
    if (build.bones.empty() || doc.bones.empty() || m.vertices.empty() || !session.current_figure) {
        return 1;
    }
    std::vector<std::unique_ptr<DzWeightMap>> maps = fillWeightMaps(doc, build.bones, m);
    bool any = false;
    for (const std::unique_ptr<DzWeightMap>& map : maps) {
        any = any || map != nullptr;
    }
    DzSkinBinding* skin = session.current_figure->getSkinBinding();
    if (!any || skin == nullptr) {
        return 1;
    }
    for (std::size_t b = 0; b < maps.size(); ++b) {
        DzBone* bone = build.bones.frames[b].host_bone;
        if (!maps[b] || bone == nullptr) {
            continue; // a bone whose creation failed binds nothing
        }
        auto binding = std::make_unique<DzBoneBinding>();
        binding->setBone(bone);
        const QString name =
            (QString::fromWCharArray(build.bones.frames[b].name.wide) + QStringLiteral("_bind"))
                .left(kBindingNameLimit);
        binding->setName(name);
        binding->setLabel(name);
        maps[b]->finishEdit();
        binding->setWeights(maps[b].release()); // the binding holds a reference now
        if (skin->addBoneBinding(binding.get()) == DZ_NO_ERROR) {
            binding.release(); // the skin binding owns it now
        }
    }
    // Once for all bindings: the bindings made here have general maps only,
    // so converting after each one would only repeat the same walk.
    skin->convertToGeneralMaps(DzBoneBinding::USE_GENERAL_MAP);
    if (!doc.group_builds.empty()) {
        addSelectionMap(doc, build.bones, *session.current_figure);
    }
    return 1;
}

} // namespace importer
} // namespace yfx
