#include "model/texture_files.h"

#include <assimp/scene.h>
#include <assimp/texture.h>

#include <dzapp.h>
#include <dzimagemgr.h>

#include <QtCore/QBuffer>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QImage>

namespace yfx {
namespace model {

namespace {

// An uncompressed embedded texture larger than this is not written.
constexpr unsigned kMaxTexelSide = 32768;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A path in `folder` for `name` that is free or already holds `bytes`.
QString freePath(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QFileInfo info(name);
    const QString stem = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    for (int n = 0;; ++n) {
        const QString candidate = QDir(folder).filePath(
            n == 0 ? name : QStringLiteral("%1_%2%3").arg(stem).arg(n).arg(suffix));
        if (!QFileInfo::exists(candidate) || readAll(candidate) == bytes) {
            return candidate;
        }
    }
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

// The bytes of an embedded texture as an image file, with its extension.
QByteArray embeddedBytes(const aiTexture& texture, QString& extension) {
    if (texture.pcData == nullptr) {
        return QByteArray();
    }
    if (texture.mHeight == 0) { // compressed: the file's own bytes
        extension = QString::fromLatin1(texture.achFormatHint).toLower();
        if (extension.isEmpty() || !extension.at(0).isLetterOrNumber()) {
            extension = QStringLiteral("bin");
        }
        return QByteArray(reinterpret_cast<const char*>(texture.pcData), int(texture.mWidth));
    }
    if (texture.mWidth > kMaxTexelSide || texture.mHeight > kMaxTexelSide) {
        return QByteArray();
    }
    // aiTexel is b, g, r, a in memory: QImage's ARGB32 on a little-endian machine.
    const QImage image(reinterpret_cast<const uchar*>(texture.pcData), int(texture.mWidth),
                       int(texture.mHeight), QImage::Format_ARGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    extension = QStringLiteral("png");
    return png;
}

} // namespace

TextureFiles::TextureFiles(const aiScene& scene, const QString& modelPath,
                           const QString& outputFolder, const QString& outputBase,
                           ModelNotes& notes)
    : m_scene(scene), m_modelFolder(QFileInfo(modelPath).absolutePath()),
      m_outputFolder(outputFolder), m_outputBase(outputBase), m_notes(notes) {
    for (unsigned i = 0; scene.mTextures != nullptr && i < scene.mNumTextures; ++i) {
        if (const aiTexture* texture = scene.mTextures[i]) {
            m_embedded_by_name.emplace(aiScene::GetShortFilename(texture->mFilename.C_Str()),
                                       int(i));
        }
    }
}

QString TextureFiles::writeEmbedded(int index, std::string& why) {
    const auto known = m_written.find(index);
    if (known != m_written.end()) {
        return known->second;
    }
    const aiTexture* texture =
        index >= 0 && m_scene.mTextures != nullptr && unsigned(index) < m_scene.mNumTextures
            ? m_scene.mTextures[index]
            : nullptr;
    if (texture == nullptr) {
        why = "the model has no embedded texture of that number";
        return QString();
    }
    QString extension;
    const QByteArray bytes = embeddedBytes(*texture, extension);
    if (bytes.isEmpty()) {
        why = "its embedded image is empty or too large";
        return QString();
    }
    const QString name =
        QStringLiteral("%1_texture%2.%3").arg(m_outputBase).arg(index).arg(extension);
    const QString path = freePath(m_outputFolder, name, bytes);
    if (!(QFileInfo::exists(path) || writeFile(path, bytes))) {
        why = "the file for its embedded image cannot be written: " + path.toStdString();
        return QString();
    }
    m_written.emplace(index, path);
    return path;
}

// As aiScene::GetEmbeddedTextureAndIndex for a name: the first embedded
// texture whose file name, less its folders, is the reference's; -1 for none.
int TextureFiles::embeddedIndexByName(const std::string& reference) const {
    const auto found = m_embedded_by_name.find(aiScene::GetShortFilename(reference.c_str()));
    return found != m_embedded_by_name.end() ? found->second : -1;
}

QString TextureFiles::fileFor(const std::string& reference, std::string& why) {
    if (!reference.empty() && reference[0] == '*') {
        bool ok = false;
        const int index = QString::fromStdString(reference.substr(1)).toInt(&ok);
        return ok ? writeEmbedded(index, why) : QString();
    }
    const int embedded = embeddedIndexByName(reference);
    if (embedded >= 0) {
        return writeEmbedded(embedded, why);
    }
    QString path = QString::fromStdString(reference);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(QLatin1String("file://"))) {
        path = path.mid(7);
    }
    const QString asGiven =
        QFileInfo(path).isAbsolute() ? path : QDir(m_modelFolder).filePath(path);
    if (QFileInfo(asGiven).isFile()) {
        return QFileInfo(asGiven).absoluteFilePath();
    }
    const QString beside = QDir(m_modelFolder).filePath(QFileInfo(path).fileName());
    if (QFileInfo(beside).isFile()) {
        return QFileInfo(beside).absoluteFilePath();
    }
    why = "no such file";
    return QString();
}

DzTexture* TextureFiles::textureFor(const std::string& reference, const std::string& material) {
    const auto known = m_resolved.find(reference);
    if (known != m_resolved.end()) {
        return known->second;
    }
    std::string why;
    const QString file = fileFor(reference, why);
    DzTexture* texture = nullptr;
    if (!file.isEmpty()) {
        DzImageMgr* images = dzApp != nullptr ? dzApp->getImageMgr() : nullptr;
        texture = images != nullptr ? images->getImage(file) : nullptr;
        if (texture == nullptr) {
            why = images != nullptr ? "the host cannot read that image format"
                                    : "the host has no image manager";
        }
    }
    if (texture == nullptr) {
        m_notes.drop(format("material '%s': texture '%s': %s", material.c_str(), reference.c_str(),
                            why.c_str()));
    }
    m_resolved.emplace(reference, texture);
    return texture;
}

} // namespace model
} // namespace yfx
