// DzExporter: an I/O class that writes the host scene to a file of one
// extension (given without the dot).
//
// writeFile(filename) first asks for the options (getOptions with the
// interface) and returns DZ_USER_CANCELLED_OPERATION when that gives false;
// writeFile(filename, options) runs startIO, write and finishIO.
//
// What still differs from the host: the constructor is explicit, and the unit
// conversion macros of the host's header are left out.
#pragma once

#include "dzfileio.h"

class DZ_EXPORT DzExporter : public DzFileIO {
    Q_OBJECT
public:
    explicit DzExporter(const QString& extension);
    ~DzExporter() override;

public slots:
    virtual QString getDescription() const = 0;
    // True when the exporter writes a real file.
    virtual bool isFileExporter() const = 0;
    QString getExtension() const { return m_extension; }

    DzError writeFile(const QString& filename);
    DzError writeFile(const QString& filename, const DzFileIOSettings* options);

protected:
    virtual DzError write(const QString& filename, const DzFileIOSettings* options) = 0;

private:
    QString m_extension;
};
