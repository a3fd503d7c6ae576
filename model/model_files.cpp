#include "model/model_files.h"

#include "model/read_steps.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>

#include <algorithm>

namespace yfx {
namespace model {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

} // namespace

std::string extensionOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return lower(suffix.toStdString());
}

std::vector<std::string> readableExtensions() {
    Assimp::Importer importer;
    std::string list;
    importer.GetExtensionList(list); // "*.3ds;*.obj;..."
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find(';', at);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string item = list.substr(at, end - at);
        if (item.rfind("*.", 0) == 0) {
            item = item.substr(2);
        }
        if (!item.empty()) {
            out.push_back(lower(item));
        }
        at = end + 1;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool canRead(const std::string& extension) {
    static const std::vector<std::string> readable = readableExtensions();
    return std::binary_search(readable.begin(), readable.end(), extension);
}

const std::vector<WriteFormat>& writableFormats() {
    // What each writer keeps was found by writing a skinned, animated scene
    // with a light and reading it back.
    static const std::vector<WriteFormat> formats = [] {
        const WriteFormat all[] = {
            // ext   id         lights skins  anim   uvs    mats   tris   weights
            {"3ds", "3ds", false, false, false, true, true, true, 0},
            {"3mf", "3mf", false, false, false, false, true, true, 0},
            {"dae", "collada", true, true, true, true, true, false, 0},
            {"fbx", "fbxa", true, true, true, true, true, false, 0},
            {"glb", "glb2", false, true, true, true, true, true, 4},
            {"gltf", "gltf2", false, true, true, true, true, true, 4},
            {"obj", "obj", false, false, false, true, true, false, 0},
            {"ply", "plyb", false, false, false, true, false, false, 0},
            {"stl", "stlb", false, false, false, false, false, true, 0},
            {"x", "x", false, false, false, true, true, false, 0},
        };
        Assimp::Exporter exporter;
        std::vector<WriteFormat> out;
        for (const WriteFormat& f : all) {
            for (std::size_t i = 0; i < exporter.GetExportFormatCount(); ++i) {
                const aiExportFormatDesc* d = exporter.GetExportFormatDescription(i);
                if (d != nullptr && d->id != nullptr && std::string(d->id) == f.exporterId) {
                    out.push_back(f);
                    break;
                }
            }
        }
        return out;
    }();
    return formats;
}

const WriteFormat* formatFor(const std::string& extension) {
    for (const WriteFormat& f : writableFormats()) {
        if (extension == f.extension) {
            return &f;
        }
    }
    return nullptr;
}

void noteFormatLosses(const aiScene& scene, const WriteFormat& format, ModelNotes& notes) {
    bool skinned = false, quads = false, uvs = false, many = false;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        skinned = skinned || mesh.mNumBones > 0;
        uvs = uvs || mesh.mTextureCoords[0] != nullptr;
        quads = quads || (mesh.mPrimitiveTypes & aiPrimitiveType_POLYGON) != 0;
        if (format.maxWeights > 0 && mesh.mNumBones > format.maxWeights) {
            std::vector<unsigned> count(mesh.mNumVertices, 0);
            for (unsigned b = 0; b < mesh.mNumBones && !many; ++b) {
                for (unsigned w = 0; w < mesh.mBones[b]->mNumWeights && !many; ++w) {
                    const unsigned v = mesh.mBones[b]->mWeights[w].mVertexId;
                    many = v < count.size() && ++count[v] > format.maxWeights;
                }
            }
        }
    }
    const char* ext = format.extension;
    if (scene.mNumLights > 0 && !format.lights) {
        notes.drop(model::format("%u lights: the %s writer keeps none (their nodes stay)",
                                 scene.mNumLights, ext));
    }
    if (skinned && !format.skins) {
        notes.drop(model::format("bones and skin weights: the %s writer keeps none (meshes are "
                                 "written at their rest pose)",
                                 ext));
    }
    if (scene.mNumAnimations > 0 && !format.animation) {
        notes.drop(model::format("animation: the %s writer keeps none", ext));
    }
    if (uvs && !format.uvs) {
        notes.drop(model::format("UVs: the %s format holds none", ext));
    }
    if (scene.mNumMaterials > 0 && !format.materials) {
        notes.drop(model::format("materials and textures: the %s format holds none", ext));
    }
    if (quads && format.trianglesOnly) {
        notes.apply(
            model::format("quads split into triangles: the %s format holds triangles", ext));
    }
    if (many) {
        notes.drop(model::format("skin weights beyond the %u largest of a vertex: the %s format "
                                 "holds %u (the rest are scaled to make up for them)",
                                 format.maxWeights, ext, format.maxWeights));
    }
}

const aiScene* readModel(Assimp::Importer& importer, const QString& path, std::string& error) {
    const QByteArray native = QFile::encodeName(path);
    const aiScene* scene = importer.ReadFile(native.constData(), kModelReadSteps);
    if (scene == nullptr) {
        error = importer.GetErrorString();
        if (error.empty()) {
            error = "Assimp cannot read the file";
        }
        return nullptr;
    }
    if (scene->mRootNode == nullptr) {
        error = "the model has no nodes";
        return nullptr;
    }
    return scene;
}

bool writeModel(const aiScene& scene, const QString& path, std::vector<QString>& written,
                std::string& error) {
    const WriteFormat* format = formatFor(extensionOf(path));
    if (format == nullptr) {
        error = "no writer for files of extension '" + extensionOf(path) + "'";
        return false;
    }
    const QFileInfo target(path);
    QTemporaryDir scratch(
        QDir(target.absolutePath()).filePath(QStringLiteral(".yfx-model-XXXXXX")));
    if (!scratch.isValid()) {
        error = "cannot make a scratch folder beside " + path.toStdString();
        return false;
    }
    Assimp::Exporter exporter;
    const QString scratchFile = QDir(scratch.path()).filePath(target.fileName());
    unsigned steps = format->trianglesOnly ? unsigned(aiProcess_Triangulate) : 0u;
    if (format->maxWeights > 0) {
        steps |= aiProcess_LimitBoneWeights; // Assimp's default limit is 4
    }
    if (exporter.Export(&scene, format->exporterId, QFile::encodeName(scratchFile).constData(),
                        steps) != AI_SUCCESS) {
        error = exporter.GetErrorString();
        if (error.empty()) {
            error = std::string("the ") + format->exporterId + " writer failed";
        }
        return false;
    }
    const QStringList made = QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : made) {
        const QString destination = QDir(target.absolutePath()).filePath(name);
        QFile::remove(destination);
        if (!QFile::rename(QDir(scratch.path()).filePath(name), destination)) {
            error = "cannot place " + destination.toStdString();
            return false;
        }
        written.push_back(destination);
    }
    return true;
}

} // namespace model
} // namespace yfx
