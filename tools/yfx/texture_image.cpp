#include "tools/yfx/texture_image.h"

#include "document/tga_reader.h"
#include "platform/replace_file.h"

#include <QtCore/QBuffer>
#include <QtCore/QByteArray>
#include <QtCore/QFile>
#include <QtGui/QImage>
#include <QtGui/QImageReader>

#include <algorithm>

namespace yfx {

namespace {

QString filePath(const std::string& path) {
    QString p = QString::fromUtf8(path.c_str());
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

bool fromQImage(const QImage& source, RgbaImage& image) {
    const QImage rgba = source.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull()) {
        return false;
    }
    RgbaImage out;
    out.width = rgba.width();
    out.height = rgba.height();
    const std::size_t rowBytes = std::size_t(out.width) * 4;
    out.pixels.resize(rowBytes * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y) {
        const uchar* row = rgba.constScanLine(y);
        std::copy(row, row + rowBytes, out.at(0, y));
    }
    image = std::move(out);
    return true;
}

} // namespace

bool readTextureImage(const std::string& path, RgbaImage& image, std::string& error) {
    image = RgbaImage();
    const QString name = filePath(path);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + ": cannot be opened: " + file.errorString().toStdString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = path + ": cannot be read: " + file.errorString().toStdString();
        return false;
    }
    std::string why;
    if (name.endsWith(QLatin1String(".tga"), Qt::CaseInsensitive)) {
        if (!decodeTga(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       std::size_t(bytes.size()), image, why)) {
            error = path + ": " + why;
            return false;
        }
        return true;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage decoded = reader.read();
    if (decoded.isNull()) {
        error = path + ": not an image Qt reads: " + reader.errorString().toStdString();
        return false;
    }
    if (!fromQImage(decoded, image)) {
        error = path + ": the image cannot be converted to RGBA";
        return false;
    }
    return true;
}

bool encodePng(const RgbaImage& image, std::vector<std::uint8_t>& bytes, std::string& error) {
    if (image.empty() ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height) * 4) {
        error = "the picture is empty or its pixels do not match its size";
        return false;
    }
    const QImage view(image.pixels.data(), image.width, image.height, image.width * 4,
                      QImage::Format_RGBA8888);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!view.save(&buffer, "PNG")) {
        error = "the PNG encoder failed";
        return false;
    }
    bytes.assign(png.constData(), png.constData() + png.size());
    return true;
}

bool writePngImage(const RgbaImage& image, const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!encodePng(image, bytes, why)) {
        error = path + ": " + why;
        return false;
    }
    return replaceFile(path, bytes, error);
}

} // namespace yfx
