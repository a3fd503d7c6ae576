#include "import/host_materials.h"

#include <algorithm>

#include "compat/qt_compat.h"
#include "import/host_numbers.h"
#include "normalise/index_checks.h"

#include <dzapp.h>
#include <dzdefaultmaterial.h>
#include <dzimagemgr.h>
#include <dzshape.h>
#include <dztexture.h>

#include <QtGui/QColor>

#include <memory>

namespace yfx {
namespace importer {

namespace {

using normalise::indexIn;

constexpr std::int32_t kBitmapMap = 1;
constexpr int kImportedChannels = 4; // colour, opacity, bump or normal, specular

DzDefaultMaterial* addDefaultMaterial(DzShape& shape) {
    auto material = std::make_unique<DzDefaultMaterial>();
    if (shape.addMaterial(material.get()) != DZ_NO_ERROR) {
        return nullptr;
    }
    DzDefaultMaterial* added = material.release(); // the shape holds it now
    added->setName(QStringLiteral("DefaultMat"));
    added->setLabel(QStringLiteral("DefaultMat"));
    return added;
}

const DocMap* firstMapOf(const DocMaterial& material, std::int32_t channel) {
    for (const std::unique_ptr<DocMap>& map : material.maps) {
        if (map && map->channel == channel) {
            return map.get();
        }
    }
    return nullptr;
}

void setChannelMap(DzDefaultMaterial& material, const DocMap& map, const DzTexture* texture) {
    switch (map.channel) {
    case kChannelColour:
        material.setColorMap(texture);
        break;
    case kChannelOpacity:
        material.setOpacityMap(texture);
        break;
    case kChannelBump:
        if (map.flags & kMapFlagNormalInBump) {
            material.setNormalValueMap(texture);
        } else {
            material.setBumpMap(texture);
        }
        break;
    case kChannelSpecular:
        material.setSpecularValueMap(texture);
        break;
    default:
        break;
    }
}

// Sets the channel's map; false when the image manager cannot supply it.
bool setMapOf(DzDefaultMaterial& material, const DocMaterial& record, std::int32_t channel) {
    const DocMap* map = firstMapOf(record, channel);
    if (map == nullptr || map->map_type != kBitmapMap || map->path.empty()) {
        return true;
    }
    DzImageMgr* images = dzApp != nullptr ? dzApp->getImageMgr() : nullptr;
    if (images == nullptr) {
        return true; // no manager to ask: the channel has no map
    }
    // The wide path: the 8-bit copy turns characters Windows-1252 cannot
    // hold into '?', which would name another file.
    const QString path = QString::fromWCharArray(map->path.wide);
    // Materials often share a texture: once the manager holds it, reading
    // the file again would only decode it to be thrown away.
    if (images->findImage(path) == nullptr) {
        images->loadImage(path);
    }
    const DzTexture* texture = images->getImage(path);
    if (texture == nullptr) {
        return false;
    }
    setChannelMap(material, *map, texture);
    return true;
}

} // namespace

DzMaterial* createMaterial(DzShape& shape, const DocMaterial& record) {
    auto owned = std::make_unique<DzDefaultMaterial>();
    if (shape.addMaterial(owned.get()) != DZ_NO_ERROR) {
        return nullptr;
    }
    DzDefaultMaterial* material = owned.release(); // the shape holds it now
    const QString name = QString::fromWCharArray(record.name.wide);
    material->setName(name);
    material->setLabel(name);
    for (std::int32_t channel = 0; channel < kImportedChannels; ++channel) {
        if (!setMapOf(*material, record, channel)) {
            return nullptr;
        }
    }
    material->setDiffuseColor(QColor(colourByte(record.diffuse[0]), colourByte(record.diffuse[1]),
                                     colourByte(record.diffuse[2]), 255));
    material->setBaseOpacity(record.opacity);
    material->update();
    return material;
}

void addShapeMaterials(const ImportSession& session, MeshBuild& build, DzShape& shape,
                       const ImportMesh& m) {
    const std::vector<DocMaterial>& materials = session.document.materials;
    std::vector<std::int32_t>& used = build.shape_material_indices;
    if (build.shape_materials.size() != materials.size()) {
        build.shape_materials.assign(materials.size(), nullptr);
    } else {
        for (const std::int32_t i : used) {
            if (indexIn(i, build.shape_materials.size())) {
                build.shape_materials[std::size_t(i)] = nullptr;
            }
        }
    }
    used.clear();
    if (isOn(session.options.import_materials)) {
        for (const ImportFace& face : m.faces) {
            if (indexIn(face.material, materials.size())) {
                used.push_back(face.material);
            }
        }
    }
    if (used.empty()) {
        addDefaultMaterial(shape);
        return;
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    for (const std::int32_t i : used) {
        build.shape_materials[std::size_t(i)] = createMaterial(shape, materials[std::size_t(i)]);
    }
}

int facetMaterialIndex(const ImportSession& session, const MeshBuild& build, const DzShape& shape,
                       std::int32_t docMaterial) {
    if (!isOn(session.options.import_materials) ||
        !indexIn(docMaterial, build.shape_materials.size())) {
        return 0;
    }
    const DzMaterial* material = build.shape_materials[std::size_t(docMaterial)];
    const int index = material != nullptr ? shape.findMaterialIndex(material) : -1;
    return index >= 0 ? index : 0;
}

} // namespace importer
} // namespace yfx
