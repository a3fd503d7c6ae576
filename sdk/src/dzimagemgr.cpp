#include "dzimagemgr.h"

#include "dztexture.h"
#include "tga_reader.h"

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

QSize imageSize(const QString& path) {
    if (isTga(path)) {
        return dzstandin::tgaImageSize(readAll(path));
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
    image = isTga(path) ? dzstandin::readTga(readAll(path)) : QImage(path);
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
