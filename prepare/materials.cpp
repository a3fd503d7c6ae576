#include "prepare/materials.h"

#include <new>
#include <utility>
#include <vector>

#include "document/doc_materials.h"
#include "prepare/texture_pair_index.h"

namespace yfx {
namespace prepare {

namespace {

// The plain conversion: name, opacity and diffuse colour from the surface,
// then its maps. Shininess, colours 2 to 5 and the diffuse bytes keep the
// material's defaults; only the merging conversion of the document
// operations sets those.
void convertSurface(const DocSurface& surface, DocMaterial& material) {
    material.name.setWide(surface.name.text);
    material.opacity = surface.opacity;
    for (int i = 0; i < 3; ++i) {
        material.diffuse[i] = static_cast<float>(surface.diffuse_bytes[i]) / 255.0f;
    }
    material.diffuse[3] = 1.0f;
    addSurfaceMaps(material, surface);
}

// Every polygon's material index through table; an index outside the
// table becomes -1.
void remapMaterials(SceneDoc& doc, const std::vector<std::int32_t>& table) {
    for (DocMesh& mesh : doc.meshes) {
        for (DocPolygon& polygon : mesh.polygons) {
            const std::int32_t m = polygon.material;
            polygon.material = m >= 0 && static_cast<std::size_t>(m) < table.size()
                                   ? table[static_cast<std::size_t>(m)]
                                   : -1;
        }
    }
}

} // namespace

void surfacesToMaterials(SceneDoc& doc) {
    if (doc.surfaces.empty()) {
        return;
    }
    std::vector<DocMaterial> materials;
    try {
        materials.resize(doc.surfaces.size());
    } catch (const std::bad_alloc&) {
        return;
    }
    for (std::size_t i = 0; i < doc.surfaces.size(); ++i) {
        convertSurface(doc.surfaces[i], materials[i]);
    }
    doc.materials = std::move(materials);
    std::vector<DocSurface>().swap(doc.surfaces);
}

void mergeSurfacesToMaterials(SceneDoc& doc) {
    const std::vector<DocSurface>& surfaces = doc.surfaces;
    // The materials are built in a scratch document and installed only when
    // every surface has found or added its material.
    SceneDoc scratch;
    std::vector<std::int32_t> table;
    try {
        table.resize(surfaces.size());
        TexturePairIndex index;
        index.reserve(surfaces.size());
        for (std::size_t i = 0; i < surfaces.size(); ++i) {
            const DocSurface& s = surfaces[i];
            std::int32_t m = index.find(s.colour_path.text, s.opacity_path.text);
            if (m < 0) {
                const DocMaterial* added = appendMaterialFromSurface(scratch, s.name.text, s);
                if (added == nullptr) {
                    return;
                }
                m = static_cast<std::int32_t>(scratch.materials.size() - 1);
                // Keyed by the maps the material really got, which is what
                // findMaterialByMaps would compare.
                index.add(imageMapPath(*added, kChannelColour),
                          imageMapPath(*added, kChannelOpacity), m);
            }
            table[i] = m;
        }
    } catch (const std::bad_alloc&) {
        return;
    }
    remapMaterials(doc, table);
    doc.materials = std::move(scratch.materials);
    std::vector<DocSurface>().swap(doc.surfaces);
}

} // namespace prepare
} // namespace yfx
