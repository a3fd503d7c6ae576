#include "dzimagemgr.h"

#include "dztexture.h"

#include "document/tga_reader.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QImageReader>

namespace {

// Absolute, cleaned path; either separator is accepted.
QString normalizedPath(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(QFileInfo(p).absoluteFilePath());
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isTga(const QString& path) {
    return path.endsWith(QLatin1String(".tga"), Qt::CaseInsensitive);
}

const std::uint8_t* data(const QByteArray& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

// Qt 5 has no TGA reader of its own: TGA files go through the product's.
QSize tgaSize(const QByteArray& bytes) {
    yfx::TgaInfo info;
    std::string error;
    return yfx::readTgaHeader(data(bytes), std::size_t(bytes.size()), info, error)
               ? QSize(info.width, info.height)
               : QSize();
}

// 32-bit files as ARGB32, the others as RGB32.
QImage readTga(const QByteArray& bytes) {
    yfx::TgaInfo info;
    yfx::RgbaImage decoded;
    std::string error;
    if (!yfx::readTgaHeader(data(bytes), std::size_t(bytes.size()), info, error) ||
        !yfx::decodeTga(data(bytes), std::size_t(bytes.size()), decoded, error)) {
        return QImage();
    }
    return QImage(decoded.pixels.data(), decoded.width, decoded.height, decoded.width * 4,
                  QImage::Format_RGBA8888)
        .convertToFormat(info.bitsPerPixel == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

QSize imageSize(const QString& path) {
    if (isTga(path)) {
        return tgaSize(readAll(path));
    }
    QImageReader reader(path);
    return reader.canRead() ? reader.size() : QSize();
}

} // namespace

DzImageMgr::DzImageMgr(QObject* parent) : QObject(parent) {}

DzImageMgr::~DzImageMgr() = default;

QImage DzImageMgr::loadImage(const QString& filename) {
    QImage image;
    loadImage(filename, image);
    return image;
}

DzError DzImageMgr::loadImage(const QString& filename, QImage& image, int) {
    const QString path = normalizedPath(filename);
    image = isTga(path) ? readTga(readAll(path)) : QImage(path);
    return image.isNull() ? DZ_UNABLE_TO_OPEN_FILE_ERROR : DZ_NO_ERROR;
}

DzTexture* DzImageMgr::getImage(const QString& fullPath) const {
    if (fullPath.isEmpty()) {
        return nullptr;
    }
    const QString path = normalizedPath(fullPath);
    if (DzTexture* known = m_byPath.value(path, nullptr)) {
        return known;
    }
    const QSize size = imageSize(path);
    if (!size.isValid()) {
        return nullptr;
    }
    auto* tex = new DzTexture(path, size, const_cast<DzImageMgr*>(this));
    m_textures.push_back(tex);
    m_byPath.insert(path, tex);
    return tex;
}

DzTexture* DzImageMgr::getImage(int index) const {
    return index >= 0 && index < int(m_textures.size()) ? m_textures[size_t(index)] : nullptr;
}

DzTexture* DzImageMgr::findImage(const QString& fullPath) const {
    return fullPath.isEmpty() ? nullptr : m_byPath.value(normalizedPath(fullPath), nullptr);
}

// The meta-object code is compiled here, where the Qt value types the slots
// pass are complete (the header only declares them, as the host's does).
#include "moc_dzimagemgr.cpp"
