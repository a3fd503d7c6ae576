#include "tga_reader.h"

#include <algorithm>

namespace dzstandin {

namespace {

struct TgaHeader {
    int idLength, colorMapType, imageType, width, height, bpp, descriptor;
};

unsigned u8(const QByteArray& b, int at) {
    return static_cast<unsigned char>(b[at]);
}

bool parseHeader(const QByteArray& b, TgaHeader& h) {
    if (b.size() < 18) {
        return false;
    }
    h.idLength = int(u8(b, 0));
    h.colorMapType = int(u8(b, 1));
    h.imageType = int(u8(b, 2));
    h.width = int(u8(b, 12) | (u8(b, 13) << 8));
    h.height = int(u8(b, 14) | (u8(b, 15) << 8));
    h.bpp = int(u8(b, 16));
    h.descriptor = int(u8(b, 17));
    const bool colour = h.imageType == 2 || h.imageType == 10;
    const bool grey = h.imageType == 3 || h.imageType == 11;
    if (h.colorMapType != 0 || !(colour || grey) || h.width == 0 || h.height == 0) {
        return false;
    }
    return colour ? (h.bpp == 16 || h.bpp == 24 || h.bpp == 32) : h.bpp == 8;
}

QRgb pixel(const unsigned char* p, int bpp) {
    switch (bpp) {
    case 8:
        return qRgb(p[0], p[0], p[0]);
    case 16: {
        const unsigned v = unsigned(p[0]) | (unsigned(p[1]) << 8);
        const auto c = [](unsigned x) { return int((x & 31u) * 255u / 31u); };
        return qRgb(c(v >> 10), c(v >> 5), c(v));
    }
    case 24:
        return qRgb(p[2], p[1], p[0]);
    default:
        return qRgba(p[2], p[1], p[0], p[3]);
    }
}

} // namespace

QSize tgaImageSize(const QByteArray& bytes) {
    TgaHeader h;
    return parseHeader(bytes, h) ? QSize(h.width, h.height) : QSize();
}

QImage readTga(const QByteArray& bytes) {
    TgaHeader h;
    if (!parseHeader(bytes, h)) {
        return QImage();
    }
    const int pixelBytes = h.bpp / 8;
    const long long count = static_cast<long long>(h.width) * h.height;
    QImage image(h.width, h.height, h.bpp == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        return QImage();
    }
    const bool rle = h.imageType >= 9;
    const bool topDown = (h.descriptor & 0x20) != 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    long long at = 18 + h.idLength;
    const long long size = bytes.size();
    long long written = 0;
    const auto put = [&](QRgb c) {
        const int x = int(written % h.width);
        const int row = int(written / h.width);
        const int y = topDown ? row : h.height - 1 - row;
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = c;
        ++written;
    };
    while (written < count) {
        if (!rle) {
            if (at + pixelBytes > size) {
                return QImage();
            }
            put(pixel(data + at, h.bpp));
            at += pixelBytes;
            continue;
        }
        if (at >= size) {
            return QImage();
        }
        const unsigned packet = data[at++];
        const long long run = std::min<long long>((packet & 0x7f) + 1, count - written);
        if (packet & 0x80) {
            if (at + pixelBytes > size) {
                return QImage();
            }
            const QRgb c = pixel(data + at, h.bpp);
            at += pixelBytes;
            for (long long i = 0; i < run; ++i) {
                put(c);
            }
        } else {
            if (at + run * pixelBytes > size) {
                return QImage();
            }
            for (long long i = 0; i < run; ++i) {
                put(pixel(data + at, h.bpp));
                at += pixelBytes;
            }
        }
    }
    return image;
}

} // namespace dzstandin
