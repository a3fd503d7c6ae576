// DzTexture: an image file the image manager has loaded. Only DzImageMgr creates
// textures, and it owns them (constructor and destructor are protected, as in
// the host). The stand-in makes no OpenGL texture: its "GL texture size" is the
// image's own size.
// What still differs from the host: the texture is not also a reference-counted
// item and there is no shared-pointer typedef for it; the preview, image-data
// and OpenGL members are left out (the plug-in asks only for the file and the
// size). As in the host, QSize is only declared here: a caller that uses the
// size includes <QtCore/QSize>.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QObject>
#include <QtCore/QString>

class QSize;

class DZ_EXPORT DzTexture : public QObject {
    Q_OBJECT
public slots:
    // The source image's path, as the image manager was given it (made absolute).
    QString getFilename() const { return m_filename; }
    QSize getGLTextureSize() const;
    QSize getOriginalImageSize() const;

protected:
    friend class DzImageMgr;
    DzTexture(const QString& filename, const QSize& size, QObject* parent);
    ~DzTexture() override;

private:
    QString m_filename;
    int m_width;
    int m_height;
};
