// DzImporter: an I/O class that reads files of its extensions into the host
// scene.
//
// readFile(filename) first asks for the options (getOptions with the
// interface) and returns DZ_USER_CANCELLED_OPERATION when that gives false;
// readFile(filename, options) runs startIO, read and finishIO.
//
// What still differs from the host: the load-filter members are left out.
#pragma once

#include "dzfileio.h"

class DZ_EXPORT DzImporter : public DzFileIO {
    Q_OBJECT
public:
    DzImporter();
    ~DzImporter() override;

public slots:
    // True when this importer can read the file (by name or by contents).
    virtual bool recognize(const QString& filename) const = 0;
    virtual int getNumExtensions() const = 0;
    virtual QString getExtension(int index) const = 0;
    virtual QString getDescription() const = 0;

    DzError readFile(const QString& filename);
    DzError readFile(const QString& filename, const DzFileIOSettings* options);

protected:
    virtual DzError read(const QString& filename, const DzFileIOSettings* options) = 0;
};
