#include "dztexture.h"

DzTexture::DzTexture(const QString& filename, const QSize& size, QObject* parent)
    : QObject(parent), m_filename(filename), m_size(size) {}

DzTexture::~DzTexture() = default;
