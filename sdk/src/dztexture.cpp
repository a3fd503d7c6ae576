#include "dztexture.h"

#include <QtCore/QSize>

DzTexture::DzTexture(const QString& filename, const QSize& size, QObject* parent)
    : QObject(parent), m_filename(filename), m_width(size.width()), m_height(size.height()) {}

DzTexture::~DzTexture() = default;

QSize DzTexture::getGLTextureSize() const {
    return QSize(m_width, m_height);
}

QSize DzTexture::getOriginalImageSize() const {
    return QSize(m_width, m_height);
}

// The meta-object code is compiled here, where the Qt value types the slots
// pass are complete (the header only declares them, as the host's does).
#include "moc_dztexture.cpp"
