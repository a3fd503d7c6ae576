// Reading of TGA images (Qt 5 has no TGA reader of its own): uncompressed and
// run-length encoded true-colour (16, 24, 32 bit) and grey (8 bit) images.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QSize>
#include <QtGui/QImage>

namespace dzstandin {

// The image size from the header; invalid when the bytes are no supported TGA.
QSize tgaImageSize(const QByteArray& bytes);
// The decoded image; null when the bytes are no supported or complete TGA.
QImage readTga(const QByteArray& bytes);

} // namespace dzstandin
