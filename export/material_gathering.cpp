#include "export/material_gathering.h"

#include <string>

#include <QtCore/QSize>
#include <QtGui/QColor>

#include <dzdefaultmaterial.h>
#include <dzenumproperty.h>
#include <dzmaterial.h>
#include <dzshape.h>
#include <dztexture.h>

#include "document/doc_alloc.h"
#include "export/export_log.h"
#include "export/gather_context.h"
#include "export/host_values.h"
#include "export/material_properties.h"
#include "platform/path.h"

namespace yfx {
namespace exporter {

namespace {

// A texture as a surface keeps it: the path with "\" separators, and the size.
struct GatheredTexture {
    std::wstring path;
    int width = 0;
    int height = 0;
};

GatheredTexture gatheredTexture(const DzTexture* texture) {
    GatheredTexture out;
    if (texture != nullptr) {
        out.path = toHostPath(wideText(texture->getFilename()));
        const QSize size = texture->getGLTextureSize();
        out.width = size.width();
        out.height = size.height();
    }
    return out;
}

// What both branches read from a material before its maps.
struct MaterialValues {
    std::wstring name;
    int uv_set_index = 0;
    int red = 255, green = 255, blue = 255;
    double opacity = 1.0;
};

MaterialValues materialValues(const DzMaterial& material, const wchar_t* meshName) {
    MaterialValues values;
    values.name = wideText(material.getName());
    if (compareNoCase(values.name.c_str(), L"DAZ Studio Default") == 0) {
        values.name = std::wstring(L"mat_") + meshName;
    }
    if (const DzEnumProperty* uvSet = material.getUVSetControl()) {
        values.uv_set_index = uvSet->getValue();
    }
    const QColor diffuse = material.getDiffuseColor();
    values.red = diffuse.red();
    values.green = diffuse.green();
    values.blue = diffuse.blue();
    values.opacity = material.getBaseOpacity();
    return values;
}

// The stored opacity: within 0 .. 1; a value that is not a number keeps the
// surface's default of 1.
float storedOpacity(double opacity) {
    if (opacity < 0.0) {
        return 0.0f;
    }
    if (opacity > 1.0) {
        return 1.0f;
    }
    return opacity == opacity ? static_cast<float>(opacity) : 1.0f;
}

std::uint8_t colourByte(int value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

void storeSize(DocSurface& surface, DocTextureSlot slot, const GatheredTexture& texture) {
    surface.texture_sizes[slot][0] = texture.width;
    surface.texture_sizes[slot][1] = texture.height;
}

// The maps of a surface in the order colour, opacity, bump, normal, specular,
// translucency.
struct SurfaceTextures {
    GatheredTexture maps[kTextureSlotCount];
};

void storeSurface(DocSurface& surface, const MaterialValues& values,
                  const SurfaceTextures& textures) {
    surface.name.set(values.name.c_str());
    surface.colour_path.set(textures.maps[kTextureColour].path.c_str());
    surface.opacity_path.set(textures.maps[kTextureOpacity].path.c_str());
    surface.bump_path.set(textures.maps[kTextureBump].path.c_str());
    surface.normal_path.set(textures.maps[kTextureNormal].path.c_str());
    surface.specular_path.set(textures.maps[kTextureSpecular].path.c_str());
    surface.translucency_path.set(textures.maps[kTextureTranslucency].path.c_str());
    surface.diffuse_bytes[0] = colourByte(values.red);
    surface.diffuse_bytes[1] = colourByte(values.green);
    surface.diffuse_bytes[2] = colourByte(values.blue);
    surface.opacity = storedOpacity(values.opacity);
    surface.uv_set_index = values.uv_set_index;
}

void logSurface(int index, const MaterialValues& values, const DzMaterial& material,
                const SurfaceTextures& textures, bool withTranslucency) {
    const std::wstring className = materialClassName(material);
    const wchar_t* const head =
        L"mat: %2d,        name: \"%s\" (%s)\n    diffuse_color: %3d, %3d, %3d\n"
        L"          opacity: %f\n   color_filepath: \"%s\"\n opacity_filepath: \"%s\"\n"
        L"    bump_filepath: \"%s\"\n  normal_filepath: \"%s\"\nspecular_filepath: \"%s\"\n";
    const std::wstring format =
        std::wstring(head) + (withTranslucency ? L"   trans_filepath: \"%s\"\n\n" : L"\n");
    log_printf(
        format.c_str(), index, values.name.c_str(), className.c_str(), values.red, values.green,
        values.blue, values.opacity, textures.maps[kTextureColour].path.c_str(),
        textures.maps[kTextureOpacity].path.c_str(), textures.maps[kTextureBump].path.c_str(),
        textures.maps[kTextureNormal].path.c_str(), textures.maps[kTextureSpecular].path.c_str(),
        textures.maps[kTextureTranslucency].path.c_str());
}

void gatherDefaultMaterial(const ExportSession& session, int index,
                           const DzDefaultMaterial& material, DocMesh& mesh) {
    const MaterialValues values = materialValues(material, mesh.name.text);
    SurfaceTextures textures;
    textures.maps[kTextureColour] = gatheredTexture(material.getColorMap());
    textures.maps[kTextureOpacity] = gatheredTexture(material.getOpacityMap());
    textures.maps[kTextureBump] = gatheredTexture(material.getBumpMap());
    textures.maps[kTextureNormal] = gatheredTexture(material.getNormalValueMap());
    textures.maps[kTextureSpecular] = gatheredTexture(material.getSpecularColorMap());
    if (loggingOn(session)) {
        logSurface(index, values, material, textures, false);
    }
    DocSurface& surface = mesh.surfaces[static_cast<std::size_t>(index)];
    storeSurface(surface, values, textures);
    for (const DocTextureSlot slot :
         {kTextureColour, kTextureOpacity, kTextureBump, kTextureNormal, kTextureSpecular}) {
        storeSize(surface, slot, textures.maps[slot]);
    }
}

void gatherPropertyMaterial(const ExportSession& session, int index, const DzMaterial& material,
                            DocMesh& mesh) {
    const MaterialValues values = materialValues(material, mesh.name.text);
    SurfaceTextures textures;
    textures.maps[kTextureColour] = gatheredTexture(material.getColorMap());
    textures.maps[kTextureOpacity] = gatheredTexture(material.getOpacityMap());
    textures.maps[kTextureBump] = gatheredTexture(findPropertyTexture(material, L"Bump Strength"));
    textures.maps[kTextureNormal] = gatheredTexture(findPropertyTexture(material, L"Normal Map"));
    // The first of the specular-like properties that carries a texture.
    const DzTexture* specular = findPropertyTexture(material, L"Specular Color");
    if (specular == nullptr) {
        specular = findPropertyTexture(material, L"Glossy Layered Weight");
    }
    if (specular == nullptr) {
        specular = findPropertyTexture(material, L"Dual Lobe Specular Reflectivity");
    }
    textures.maps[kTextureSpecular] = gatheredTexture(specular);
    textures.maps[kTextureTranslucency] =
        gatheredTexture(findPropertyTexture(material, L"Translucency Color"));
    if (loggingOn(session)) {
        logSurface(index, values, material, textures, true);
    }
    DocSurface& surface = mesh.surfaces[static_cast<std::size_t>(index)];
    storeSurface(surface, values, textures);
    // The colour and opacity sizes of this branch stay as constructed.
    for (const DocTextureSlot slot :
         {kTextureBump, kTextureNormal, kTextureSpecular, kTextureTranslucency}) {
        storeSize(surface, slot, textures.maps[slot]);
    }
}

} // namespace

int gatherMaterials(ExportSession& session, const DzShape& shape, DocMesh& mesh) {
    const bool logging = loggingOn(session);
    if (logging) {
        log_printf(L"Get_Mesh_Materials (%s)...\n", mesh.name.text);
    }
    const int materialCount = shape.getNumMaterials();
    const int assemblyCount = shape.getNumAssemblyMaterials();
    if (logging) {
        log_printf(L"        numMats: %d\n", materialCount);
        log_printf(L"numAssemblyMats: %d\n", assemblyCount);
    }
    if (assemblyCount < 1) {
        return 1;
    }
    if (allocateSurfaces(mesh, assemblyCount) == 0) {
        return 0;
    }
    for (int i = 0; i < assemblyCount; ++i) {
        const DzMaterial* material = shape.getAssemblyMaterial(i);
        if (material == nullptr) {
            continue;
        }
        if (const auto* standard = qobject_cast<const DzDefaultMaterial*>(material)) {
            gatherDefaultMaterial(session, i, *standard, mesh);
        } else {
            gatherPropertyMaterial(session, i, *material, mesh);
        }
    }
    return 1;
}

} // namespace exporter
} // namespace yfx
