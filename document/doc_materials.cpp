#include "document/doc_materials.h"

#include <new>
#include <utility>

#include "platform/path.h"

namespace yfx {

namespace {

bool hasText(const wchar_t* text) {
    return text != nullptr && text[0] != 0;
}

void setDefaultHead(DocMap& map, std::int32_t channel, std::int32_t type) {
    map.channel = channel;
    map.map_type = type;
    map.flags = kMapFlagsDefault;
    for (int i = 0; i < 3; ++i) {
        map.texture_offset[i] = 0.0f;
        map.texture_scale[i] = 1.0f;
        map.texture_rotation[i] = 0.0f;
    }
}

bool samePath(const wchar_t* a, const wchar_t* b) {
    return compareNoCase(a, b) == 0;
}

// Adds a type 1 map carrying path (when it is not empty) with the extra flags.
void addPathMap(DocMaterial& material, std::int32_t channel, const WideName& path,
                std::uint32_t extraFlags) {
    if (path.empty()) {
        return;
    }
    DocMap* map = addMapWithPath(material, channel, path.text);
    if (map != nullptr) {
        map->flags |= extraFlags;
    }
}

} // namespace

DocMap* findMap(DocMaterial& material, std::int32_t channel) {
    for (std::unique_ptr<DocMap>& map : material.maps) {
        if (map != nullptr && map->channel == channel) {
            return map.get();
        }
    }
    return nullptr;
}

const DocMap* findMap(const DocMaterial& material, std::int32_t channel) {
    for (const std::unique_ptr<DocMap>& map : material.maps) {
        if (map != nullptr && map->channel == channel) {
            return map.get();
        }
    }
    return nullptr;
}

DocMap* addMap(DocMaterial& material, std::int32_t channel) {
    if (findMap(material, channel) != nullptr) {
        return nullptr;
    }
    try {
        std::unique_ptr<DocMap> map(new DocMap());
        setDefaultHead(*map, channel, 1);
        material.maps.push_back(std::move(map));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return material.maps.back().get();
}

DocMap* addMapWithPath(DocMaterial& material, std::int32_t channel, const wchar_t* path) {
    DocMap* map = addMap(material, channel);
    if (map != nullptr && hasText(path)) {
        map->path.setWide(path);
        map->flags |= kMapFlagFile;
    }
    return map;
}

DocMap* addMapWithPath(DocMaterial& material, std::int32_t channel, const NamePair& path) {
    DocMap* map = addMap(material, channel);
    if (map != nullptr && !path.empty()) {
        map->path = path;
        map->flags |= kMapFlagFile;
    }
    return map;
}

DocMap* createMap(DocMaterial& material, std::int32_t slot, std::int32_t channel,
                  std::int32_t type) {
    if (findMap(material, channel) != nullptr) {
        return nullptr;
    }
    return createMapInSlot(material, slot, channel, type);
}

DocMap* createMapInSlot(DocMaterial& material, std::int32_t slot, std::int32_t channel,
                        std::int32_t type) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= material.maps.size()) {
        return nullptr;
    }
    std::unique_ptr<DocMap> map;
    try {
        map.reset(new DocMap());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // A fresh map already holds the type 1 tail and the type 2 and 3 extras;
    // only type 6 differs in a shared field.
    if (type == 6) {
        map->tail_int = 256;
    }
    setDefaultHead(*map, channel, type);
    material.maps[static_cast<std::size_t>(slot)] = std::move(map);
    return material.maps[static_cast<std::size_t>(slot)].get();
}

const wchar_t* imageMapPath(const DocMaterial& material, std::int32_t channel) {
    const DocMap* map = findMap(material, channel);
    if (map != nullptr && map->map_type == 1) {
        return map->path.wide;
    }
    return L"";
}

std::int32_t findMaterialByMaps(const SceneDoc& doc, const wchar_t* colourPath,
                                const wchar_t* opacityPath) {
    const bool wantColour = hasText(colourPath);
    const bool wantOpacity = hasText(opacityPath);
    if (doc.materials.empty() || (!wantColour && !wantOpacity)) {
        return -1;
    }
    for (std::size_t i = 0; i < doc.materials.size(); ++i) {
        const DocMaterial& material = doc.materials[i];
        const bool colourMatches =
            wantColour && samePath(imageMapPath(material, kChannelColour), colourPath);
        const bool opacityMatches =
            wantOpacity && samePath(imageMapPath(material, kChannelOpacity), opacityPath);
        const bool matches = wantColour && wantOpacity ? colourMatches && opacityMatches
                                                       : colourMatches || opacityMatches;
        if (matches) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

void addSurfaceMaps(DocMaterial& material, const DocSurface& surface) {
    addPathMap(material, kChannelColour, surface.colour_path, 0);
    addPathMap(material, kChannelOpacity, surface.opacity_path, 0);
    if (!surface.normal_path.empty()) {
        if (!surface.bump_path.empty()) {
            addPathMap(material, kChannelBump, surface.bump_path, 0);
            addPathMap(material, kChannelNormal, surface.normal_path, 0);
        } else {
            addPathMap(material, kChannelBump, surface.normal_path, kMapFlagNormalInBump);
        }
    } else {
        addPathMap(material, kChannelBump, surface.bump_path, 0);
    }
    addPathMap(material, kChannelSpecular, surface.specular_path, 0);
    addPathMap(material, kChannelTranslucency, surface.translucency_path, 0);
}

DocMaterial* appendMaterialFromSurface(SceneDoc& doc, const wchar_t* name,
                                       const DocSurface& surface) {
    try {
        doc.materials.emplace_back();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    DocMaterial& material = doc.materials.back();
    material.name.setWide(name);
    material.opacity = surface.opacity;
    for (int i = 0; i < 3; ++i) {
        material.diffuse[i] = static_cast<float>(surface.diffuse_bytes[i]) / 255.0f;
        material.diffuse_bytes[i] = surface.diffuse_bytes[i];
    }
    material.diffuse[3] = 1.0f;
    addSurfaceMaps(material, surface);
    return &material;
}

std::int32_t findOrAddMaterial(SceneDoc& doc, const wchar_t* name, const DocSurface& surface) {
    const std::int32_t found =
        findMaterialByMaps(doc, surface.colour_path.text, surface.opacity_path.text);
    if (found >= 0) {
        return found;
    }
    if (appendMaterialFromSurface(doc, name, surface) == nullptr) {
        return -1;
    }
    return static_cast<std::int32_t>(doc.materials.size() - 1);
}

} // namespace yfx
