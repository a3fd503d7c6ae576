// What the model conversion tests share: the host application and the
// plug-in module, made once for the test program; a scratch folder per test;
// and the export flags as `yfx convert` starts them.
#pragma once

#include "tools/yfx/filter_run.h"
#include "tools/yfx/model_convert.h"

#include <QtCore/QString>
#include <QtCore/QTemporaryDir>

#include <string>
#include <vector>

namespace modeltest {

// The module loaded as the host loads it (the test fails when it cannot be).
const yfx::FilterModule& filterModule();

// The thirteen export option values the export dialog starts with.
std::vector<int> defaultExportOptions();

// The request `yfx convert MODEL PROJECT` makes (the export dialog's option
// values), without the exporter's progress on stderr.
yfx::ModelToProject convertRequest(const QString& model, const QString& project);

// The import flags `yfx convert` starts with when it writes a model.
yfx::ImportFlags defaultConvertImportFlags();

class Scratch {
public:
    Scratch();
    QString path(const QString& name) const { return m_dir.filePath(name); }
    std::string file(const char* name) const {
        return path(QString::fromLatin1(name)).toStdString();
    }
    // A subfolder, made.
    QString folder(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace modeltest
