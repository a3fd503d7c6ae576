// DzTexture: an image file the image manager has loaded. Only DzImageMgr creates
// textures, and it owns them. The stand-in makes no OpenGL texture: its
// "GL texture size" is the image's own size.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QObject>
#include <QtCore/QSize>
#include <QtCore/QString>

class DZ_EXPORT DzTexture : public QObject {
    Q_OBJECT
public:
    ~DzTexture() override;

public slots:
    // The source image's path, as the image manager was given it (made absolute).
    QString getFilename() const { return m_filename; }
    QSize getGLTextureSize() const { return m_size; }
    QSize getOriginalImageSize() const { return m_size; }

protected:
    friend class DzImageMgr;
    DzTexture(const QString& filename, const QSize& size, QObject* parent);

private:
    QString m_filename;
    QSize m_size;
};
