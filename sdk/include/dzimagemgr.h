// DzImageMgr: loads images and hands out one texture per image file.
// The application object creates the single image manager (DzApp::getImageMgr);
// the constructor is protected for that reason.
// Besides the formats of Qt's image readers, uncompressed and run-length encoded
// true-colour and grey TGA files are read.
// Textures are keyed by the absolute, cleaned file path and owned by the manager.
//
// What still differs from the host: the constructor and destructor are
// protected, not private, so that the tests can make a manager of their own
// beside the application's. Only the loading and look-up members the plug-in
// and the harness call are declared (no saving, importer/exporter lists, image
// preparation, layered images or icon requests). As in the host, QImage is only
// declared here: a caller that loads an image includes <QtGui/QImage>.
#pragma once

#include "dzerrorcodes.h"

#include <QtCore/QHash>
#include <QtCore/QObject>

#include <vector>

class QImage;
class DzTexture;

class DZ_EXPORT DzImageMgr : public QObject {
    Q_OBJECT
public:
    ~DzImageMgr() override;

public slots:
    // A null image when the file cannot be read.
    QImage loadImage(const QString& filename);
    // DZ_UNABLE_TO_OPEN_FILE_ERROR when the file cannot be read.
    DzError loadImage(const QString& filename, QImage& image, int importerIdx = -1);
    // The texture of that file, made when it is not known yet; NULL when the file is
    // not a readable image.
    DzTexture* getImage(const QString& fullPath) const;
    // NULL for an index out of range.
    DzTexture* getImage(int index) const;
    int getNumImages() const { return int(m_textures.size()); }
    // The texture of that file when already made, else NULL.
    DzTexture* findImage(const QString& fullPath) const;

protected:
    friend class DzApp;
    explicit DzImageMgr(QObject* parent = nullptr);

private:
    mutable std::vector<DzTexture*> m_textures;
    mutable QHash<QString, DzTexture*> m_byPath;
};
