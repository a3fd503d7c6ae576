#include "tools/yfx/gltf_textures.h"

#include "platform/new_file.h"
#include "tools/yfx/texture_image.h"

#include <assimp/material.h>
#include <assimp/scene.h>
#include <assimp/texture.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

namespace yfx {

namespace {

// Names tried for one PNG file before giving up.
constexpr int kMaxNames = 1000;

struct TextureUse {
    aiMaterial* material;
    aiTextureType type;
    unsigned index;
    std::string reference;
};

// The texture kinds Assimp's glTF writer names (base colour, normal, specular
// through the specular-glossiness extension, occlusion, emissive and the
// metal-roughness texture); it passes over the others.
bool gltfNames(aiTextureType type) {
    switch (type) {
    case aiTextureType_DIFFUSE:
    case aiTextureType_BASE_COLOR:
    case aiTextureType_NORMALS:
    case aiTextureType_SPECULAR:
    case aiTextureType_LIGHTMAP:
    case aiTextureType_EMISSIVE:
    case aiTextureType_UNKNOWN:
    case aiTextureType_SHEEN:
    case aiTextureType_CLEARCOAT:
    case aiTextureType_TRANSMISSION:
        return true;
    default:
        return false;
    }
}

std::string kindName(aiTextureType type) {
    switch (type) {
    case aiTextureType_OPACITY:
        return "opacity maps";
    case aiTextureType_HEIGHT:
        return "bump maps";
    default:
        return std::string(aiTextureTypeToString(type)) + " maps";
    }
}

std::vector<TextureUse> textureUses(const aiScene& scene) {
    std::vector<TextureUse> uses;
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiMaterial* material = scene.mMaterials[m];
        for (unsigned p = 0; material != nullptr && p < material->mNumProperties; ++p) {
            const aiMaterialProperty& property = *material->mProperties[p];
            aiString path;
            if (std::strcmp(property.mKey.C_Str(), _AI_MATKEY_TEXTURE_BASE) == 0 &&
                material->GetTexture(aiTextureType(property.mSemantic), property.mIndex, &path) ==
                    AI_SUCCESS) {
                uses.push_back(
                    {material, aiTextureType(property.mSemantic), property.mIndex, path.C_Str()});
            }
        }
    }
    return uses;
}

bool isPngOrJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = file.read(8);
    const unsigned char png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto* bytes = reinterpret_cast<const unsigned char*>(head.constData());
    return (head.size() == 8 && std::memcmp(bytes, png, 8) == 0) ||
           (head.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF);
}

bool holds(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() != qint64(bytes.size()) ||
        !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray there = file.readAll();
    return std::size_t(there.size()) == bytes.size() &&
           std::memcmp(there.constData(), bytes.data(), bytes.size()) == 0;
}

std::filesystem::path fileSystemPath(const QString& path) {
    return std::filesystem::u8path(path.toUtf8().toStdString());
}

// Puts `bytes` into a new file `folder/STEM.png` (or STEM_N.png), or finds
// one of those names holding them already. The path, or empty with `why`.
QString placePng(const QString& folder, const QString& stem, const std::vector<std::uint8_t>& bytes,
                 bool& created, std::string& why) {
    for (int n = 0; n < kMaxNames; ++n) {
        const QString path = QDir(folder).filePath(
            n == 0 ? stem + QStringLiteral(".png") : QStringLiteral("%1_%2.png").arg(stem).arg(n));
        errno = 0;
        std::FILE* file = createNewFile(fileSystemPath(path));
        if (file == nullptr) {
            if (errno != EEXIST) {
                why = "cannot create " + path.toStdString() + ": " + std::strerror(errno);
                return QString();
            }
            if (holds(path, bytes)) {
                created = false;
                return path;
            }
            continue;
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        const bool closed = std::fclose(file) == 0;
        if (!written || !closed) {
            QFile::remove(path);
            why = "cannot write " + path.toStdString();
            return QString();
        }
        created = true;
        return path;
    }
    why = "no free name for " + stem.toStdString() + ".png in " + folder.toStdString();
    return QString();
}

// Adds the PNG bytes to the scene's embedded textures; "*N" names it.
std::string embedPng(aiScene& scene, const std::vector<std::uint8_t>& bytes,
                     const std::string& name) {
    auto* texture = new aiTexture();
    texture->mWidth = unsigned(bytes.size());
    texture->mHeight = 0; // compressed: mWidth bytes of a file
    std::strcpy(texture->achFormatHint, "png");
    texture->pcData = new aiTexel[(bytes.size() + sizeof(aiTexel) - 1) / sizeof(aiTexel)];
    std::memcpy(texture->pcData, bytes.data(), bytes.size());
    texture->mFilename = aiString(name);
    auto** textures = new aiTexture*[scene.mNumTextures + 1];
    for (unsigned i = 0; i < scene.mNumTextures; ++i) {
        textures[i] = scene.mTextures[i];
    }
    textures[scene.mNumTextures] = texture;
    delete[] scene.mTextures;
    scene.mTextures = textures;
    return "*" + std::to_string(scene.mNumTextures++);
}

class Converter {
public:
    Converter(aiScene& scene, const QString& folder, bool embed, model::ModelNotes& notes,
              std::vector<QString>& created)
        : m_scene(scene), m_folder(folder), m_embed(embed), m_notes(notes), m_created(created) {}

    // The reference the model names for the texture file `reference`;
    // empty, with `why`, when there is none.
    std::string referenceFor(const std::string& reference, std::string& why) {
        if (!reference.empty() && reference[0] == '*') {
            return reference; // embedded already
        }
        const QString given = QString::fromUtf8(reference.c_str());
        const QString file = QFileInfo(QDir(m_folder), given).absoluteFilePath();
        const auto known = m_byFile.find(file);
        if (known != m_byFile.end()) {
            why = known->second.why;
            return known->second.reference;
        }
        Result& result = m_byFile[file];
        result.reference = convert(reference, file, result.why);
        why = result.why;
        return result.reference;
    }

private:
    struct Result {
        std::string reference;
        std::string why;
    };

    std::string convert(const std::string& reference, const QString& file, std::string& why) {
        if (isPngOrJpeg(file)) {
            return reference;
        }
        RgbaImage image;
        std::vector<std::uint8_t> png;
        if (!readTextureImage(file.toUtf8().toStdString(), image, why) ||
            !encodePng(image, png, why)) {
            return std::string();
        }
        const QString stem = QFileInfo(file).completeBaseName();
        if (m_embed) {
            const std::string embedded =
                embedPng(m_scene, png, (stem + QStringLiteral(".png")).toStdString());
            m_notes.apply(model::format("texture '%s': not PNG or JPEG, stored in the GLB as PNG",
                                        reference.c_str()));
            return embedded;
        }
        bool created = false;
        const QString path = placePng(m_folder, stem, png, created, why);
        if (path.isEmpty()) {
            return std::string();
        }
        if (created) {
            m_created.push_back(path);
        }
        m_notes.apply(model::format("texture '%s': not PNG or JPEG, %s as PNG %s",
                                    reference.c_str(),
                                    created ? "written" : "already there with the same picture",
                                    path.toUtf8().constData()));
        return QFileInfo(path).fileName().toUtf8().toStdString();
    }

    aiScene& m_scene;
    QString m_folder;
    bool m_embed;
    model::ModelNotes& m_notes;
    std::vector<QString>& m_created;
    std::map<QString, Result> m_byFile;
};

} // namespace

void makeGltfTextures(aiScene& scene, const QString& outputFolder, bool embed,
                      model::ModelNotes& notes, std::vector<QString>& created) {
    Converter converter(scene, outputFolder, embed, notes, created);
    for (const TextureUse& use : textureUses(scene)) {
        aiString name;
        use.material->Get(AI_MATKEY_NAME, name);
        if (!gltfNames(use.type)) {
            notes.dropFor(kindName(use.type), name.C_Str(), "glTF has no place for them");
            use.material->RemoveProperty(_AI_MATKEY_TEXTURE_BASE, use.type, use.index);
            use.material->RemoveProperty(_AI_MATKEY_UVWSRC_BASE, use.type, use.index);
            continue;
        }
        std::string why;
        const std::string reference = converter.referenceFor(use.reference, why);
        if (reference == use.reference) {
            continue;
        }
        if (reference.empty()) {
            notes.drop(model::format("material '%s': texture '%s': %s", name.C_Str(),
                                     use.reference.c_str(), why.c_str()));
            use.material->RemoveProperty(_AI_MATKEY_TEXTURE_BASE, use.type, use.index);
            use.material->RemoveProperty(_AI_MATKEY_UVWSRC_BASE, use.type, use.index);
            continue;
        }
        const aiString path(reference);
        use.material->AddProperty(&path, _AI_MATKEY_TEXTURE_BASE, use.type, use.index);
    }
}

} // namespace yfx
