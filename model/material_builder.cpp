#include "model/material_builder.h"

#include <assimp/material.h>

#include <dzdefaultmaterial.h>

#include <QtGui/QColor>

#include <algorithm>
#include <cmath>

namespace yfx {
namespace model {

namespace {

enum Channel { kColour, kOpacity, kBump, kNormal, kSpecular, kChannelCount };

const char* const kChannelNames[kChannelCount] = {"colour", "opacity", "bump", "normal",
                                                  "specular"};

// The host channel a kind of texture goes to, or -1.
int channelOf(aiTextureType type) {
    switch (type) {
    case aiTextureType_DIFFUSE:
    case aiTextureType_BASE_COLOR:
        return kColour;
    case aiTextureType_OPACITY:
        return kOpacity;
    case aiTextureType_HEIGHT:
        return kBump;
    case aiTextureType_NORMALS:
    case aiTextureType_NORMAL_CAMERA:
        return kNormal;
    case aiTextureType_SPECULAR:
        return kSpecular;
    default:
        return -1;
    }
}

int byte(float v) {
    if (!std::isfinite(v)) {
        return 0;
    }
    return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

std::string nameOf(const aiMaterial& m, unsigned index) {
    aiString name;
    if (m.Get(AI_MATKEY_NAME, name) == AI_SUCCESS && name.length > 0) {
        return name.C_Str();
    }
    return format("Material%u", index);
}

struct Texture {
    std::string path;
    int uv = 0;
    aiTextureType type = aiTextureType_NONE;
};

void setMap(DzDefaultMaterial& material, int channel, DzTexture* texture) {
    switch (channel) {
    case kColour:
        material.setColorMap(texture);
        break;
    case kOpacity:
        material.setOpacityMap(texture);
        break;
    case kBump:
        material.setBumpMap(texture);
        break;
    case kNormal:
        material.setNormalValueMap(texture);
        break;
    default:
        material.setSpecularColorMap(texture);
        break;
    }
}

} // namespace

HostMaterial makeHostMaterial(const aiMaterial* source, unsigned index, TextureFiles& textures,
                              ModelNotes& notes) {
    HostMaterial out;
    auto* material = new DzDefaultMaterial();
    out.material = material;
    if (source == nullptr) {
        const QString name = QStringLiteral("Material%1").arg(index);
        material->setName(name);
        material->setLabel(name);
        return out;
    }
    const aiMaterial& m = *source;
    const std::string name = nameOf(m, index);
    material->setName(QString::fromStdString(name));
    material->setLabel(QString::fromStdString(name));

    aiColor4D colour(1, 1, 1, 1);
    if (m.Get(AI_MATKEY_COLOR_DIFFUSE, colour) != AI_SUCCESS) {
        m.Get(AI_MATKEY_BASE_COLOR, colour);
    }
    material->setDiffuseColor(QColor(byte(colour.r), byte(colour.g), byte(colour.b)));
    float opacity = 1.0f;
    if (m.Get(AI_MATKEY_OPACITY, opacity) == AI_SUCCESS && std::isfinite(opacity)) {
        material->setBaseOpacity(std::clamp(opacity, 0.0f, 1.0f));
    }

    Texture chosen[kChannelCount];
    for (int t = aiTextureType_DIFFUSE; t <= AI_TEXTURE_TYPE_MAX; ++t) {
        const aiTextureType type = aiTextureType(t);
        const unsigned count = m.GetTextureCount(type);
        for (unsigned k = 0; k < count; ++k) {
            aiString path;
            aiTextureMapping mapping = aiTextureMapping_UV;
            unsigned uv = 0;
            if (m.GetTexture(type, k, &path, &mapping, &uv) != AI_SUCCESS) {
                continue;
            }
            const int channel = channelOf(type);
            const char* kind = aiTextureTypeToString(type);
            if (channel < 0) {
                notes.drop(format("material '%s': %s texture '%s': the host material has no "
                                  "channel for it",
                                  name.c_str(), kind, path.C_Str()));
                continue;
            }
            Texture& slot = chosen[channel];
            if (!slot.path.empty()) {
                if (slot.path != path.C_Str()) {
                    notes.drop(format("material '%s': %s texture '%s': the host's %s channel "
                                      "holds one texture ('%s' taken)",
                                      name.c_str(), kind, path.C_Str(), kChannelNames[channel],
                                      slot.path.c_str()));
                }
                continue;
            }
            if (mapping != aiTextureMapping_UV) {
                notes.drop(format("material '%s': %s texture '%s': its projected mapping (the "
                                  "host maps by UV set)",
                                  name.c_str(), kind, path.C_Str()));
            }
            aiUVTransform transform;
            if (m.Get(AI_MATKEY_UVTRANSFORM(type, k), transform) == AI_SUCCESS &&
                (transform.mScaling.x != 1 || transform.mScaling.y != 1 ||
                 transform.mTranslation.x != 0 || transform.mTranslation.y != 0 ||
                 transform.mRotation != 0)) {
                notes.drop(format("material '%s': %s texture '%s': its UV transform (the host "
                                  "material has none)",
                                  name.c_str(), kind, path.C_Str()));
            }
            slot.path = path.C_Str();
            slot.uv = int(std::min(uv, 2u));
            slot.type = type;
        }
    }

    int uvSet = -1;
    for (int channel = 0; channel < kChannelCount; ++channel) {
        const Texture& t = chosen[channel];
        if (t.path.empty()) {
            continue;
        }
        if (t.uv > 1) {
            notes.drop(format("material '%s': %s texture: its UV channel (the host keeps two "
                              "UV sets; the first is used)",
                              name.c_str(), kChannelNames[channel]));
        } else if (uvSet < 0) {
            uvSet = t.uv;
        } else if (t.uv != uvSet) {
            notes.drop(format("material '%s': %s texture: its own UV channel %d (a host "
                              "material uses one UV set, %d)",
                              name.c_str(), kChannelNames[channel], t.uv, uvSet));
        }
        if (DzTexture* texture = textures.textureFor(t.path, name)) {
            setMap(*material, channel, texture);
        }
    }
    out.uvSet = std::max(uvSet, 0);
    return out;
}

} // namespace model
} // namespace yfx
