// The write step of the exporter: options from the host's settings, the log
// and its header, gathering, the processing passes, the writer of the chosen
// layout into a temporary file beside the target, and the target replaced by
// it only once complete. The message to show is returned to the caller (the
// filter shows it), so that this code needs no user interface.
#pragma once

#include <QtCore/QString>

#include "export/export_session.h"

class DzFileIOSettings;

namespace yfx {
namespace exporter {

struct ExportMessage {
    enum Kind { None, Warning, Information } kind = None;
    QString title; // "Error" or "Success"
    QString text;
};

struct ExportResult {
    int code = 0; // 0 done or nothing to do, 98 failed
    ExportMessage message;
};

// Runs the write step for the target `filename` with the options stored in
// `settings`. session.options is filled from the settings; the document is
// empty again on return, whatever the outcome.
ExportResult runExportWrite(ExportSession& session, const QString& filename,
                            const DzFileIOSettings* settings);

} // namespace exporter
} // namespace yfx
