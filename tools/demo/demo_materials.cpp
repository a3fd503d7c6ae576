#include "tools/demo/demo_materials.h"

#include "document/tga_writer.h"
#include "platform/temp_file.h"

#include <dzapp.h>
#include <dzdefaultmaterial.h>
#include <dzimagemgr.h>
#include <dznumericproperty.h>
#include <dzshadermaterial.h>
#include <dztexture.h>
#include <dzuberiraymaterial.h>

#include <QtCore/QDir>
#include <QtGui/QColor>

#include <cstdio>

namespace yfx_demo {

namespace {

struct TextureSpec {
    const char* file;
    int width, height;
    unsigned char red, green, blue;
};

constexpr TextureSpec kTextures[kDemoTextureCount] = {
    {"skin_color.tga", 64, 64, 224, 172, 140},
    {"skin_opacity.tga", 64, 64, 255, 255, 255},
    {"torso_bump.tga", 32, 32, 128, 128, 128},
    {"torso_specular.tga", 32, 32, 200, 200, 200},
    {"head_color.tga", 64, 64, 230, 180, 150},
    {"arms_normal.tga", 64, 64, 128, 128, 255},
    {"hands_translucency.tga", 32, 32, 255, 120, 100},
    {"legs_color.tga", 64, 64, 70, 80, 140},
    {"legs_glossy.tga", 32, 32, 90, 90, 90},
    {"feet_cutout.tga", 512, 256, 255, 255, 255},
    {"crate_color.tga", 128, 128, 150, 110, 60},
};

bool writeSolid(const QString& path, const TextureSpec& spec) {
    std::FILE* file = yfx::openHostFile(path.toStdWString(), "wb");
    if (file == nullptr) {
        return false;
    }
    const int written =
        yfx::writeSolidTga(file, std::uint32_t(spec.width), std::uint32_t(spec.height), spec.red,
                           spec.green, spec.blue);
    return std::fclose(file) == 0 && written == 1;
}

// Puts the texture on the material's property of that name (a mappable
// numeric property of the property-driven materials).
void mapProperty(DzMaterial* material, const char* property, DzTexture* texture) {
    if (auto* p = qobject_cast<DzNumericProperty*>(
            material->findProperty(QString::fromLatin1(property)))) {
        p->setMap(texture);
    }
}

template <class M> M* named(M* material, const char* name, QColor diffuse) {
    material->setName(QString::fromLatin1(name));
    material->setLabel(QString::fromLatin1(name));
    material->setDiffuseColor(diffuse);
    return material;
}

} // namespace

bool writeDemoTextures(const QString& folder, std::vector<DzTexture*>& textures, QStringList& files,
                       QString& error) {
    if (folder.isEmpty()) {
        error = QStringLiteral("no texture folder given");
        return false;
    }
    const QDir dir(folder);
    if (!QDir().mkpath(dir.absolutePath())) {
        error = QStringLiteral("cannot create the texture folder %1").arg(dir.absolutePath());
        return false;
    }
    DzImageMgr* images = dzApp != nullptr ? dzApp->getImageMgr() : nullptr;
    if (images == nullptr) {
        error = QStringLiteral("no image manager to load the textures");
        return false;
    }
    textures.assign(kDemoTextureCount, nullptr);
    for (int i = 0; i < kDemoTextureCount; ++i) {
        const QString path = dir.absoluteFilePath(QString::fromLatin1(kTextures[i].file));
        if (!writeSolid(path, kTextures[i])) {
            error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
        files << path;
        textures[std::size_t(i)] = images->getImage(path);
        if (textures[std::size_t(i)] == nullptr) {
            error = QStringLiteral("cannot read back %1").arg(path);
            return false;
        }
    }
    return true;
}

std::vector<DzMaterial*> makeBodyMaterials(const std::vector<DzTexture*>& tex) {
    std::vector<DzMaterial*> m(kBodySurfaceCount, nullptr);

    auto* torso = named(new DzDefaultMaterial(), "Torso", QColor(235, 190, 160));
    torso->setColorMap(tex[kSkinColor]);
    torso->setOpacityMap(tex[kSkinOpacity]);
    torso->setBumpMap(tex[kTorsoBump]);
    torso->setSpecularColorMap(tex[kTorsoSpecular]);
    m[kTorso] = torso;

    // The host's default surface name: the export names it after the mesh.
    auto* head = named(new DzDefaultMaterial(), "DAZ Studio Default", QColor(240, 200, 170));
    head->setColorMap(tex[kHeadColor]);
    m[kHead] = head;

    // Shares Torso's colour and opacity textures; a normal map, no bump map.
    auto* arms = named(new DzUberIrayMaterial(), "Arms", QColor(230, 185, 155));
    arms->setColorMap(tex[kSkinColor]);
    arms->setOpacityMap(tex[kSkinOpacity]);
    mapProperty(arms, "Normal Map", tex[kArmsNormal]);
    m[kArms] = arms;

    // An opacity above 1, as scripts can leave it.
    auto* hands =
        named(new DzShaderMaterial(QStringLiteral("Skin Shader")), "Hands", QColor(225, 175, 145));
    hands->setBaseOpacity(1.7f);
    mapProperty(hands, "Translucency Color", tex[kHandsTranslucency]);
    m[kHands] = hands;

    // The specular texture sits on "Glossy Layered Weight" only.
    auto* legs = named(new DzUberIrayMaterial(), "Legs", QColor(70, 80, 140));
    legs->setColorMap(tex[kLegsColor]);
    mapProperty(legs, "Glossy Layered Weight", tex[kLegsGlossy]);
    m[kLegs] = legs;

    // A cut-out: an opacity texture of 512 x 256 and no colour texture. The
    // default class, whose texture sizes the export takes (it makes a black
    // colour texture of the opacity texture's size).
    auto* feet = named(new DzDefaultMaterial(), "Feet", QColor(40, 40, 40));
    feet->setOpacityMap(tex[kFeetCutout]);
    m[kFeet] = feet;
    return m;
}

DzMaterial* makeCrateMaterial(const std::vector<DzTexture*>& tex) {
    auto* crate = named(new DzDefaultMaterial(), "Crate", QColor(160, 120, 70));
    crate->setColorMap(tex[kCrateColor]);
    return crate;
}

DzMaterial* makeLidMaterial() {
    return named(new DzDefaultMaterial(), "Lid", QColor(120, 90, 50));
}

} // namespace yfx_demo
