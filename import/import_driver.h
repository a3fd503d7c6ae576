// The read step of the importer: the file name in the host convention, the
// options from the host's settings, the file loaded into the document and
// scaled, host objects built from it, and the document emptied again.
#pragma once

#include <QtCore/QString>

#include <cstddef>
#include <string>

#include "import/import_session.h"

class DzFileIOSettings;

namespace yfx {
namespace importer {

// The longest path the importer takes, in characters (the host's 260
// characters with the terminator).
constexpr std::size_t kImportPathLimit = 259;

// The read step's results.
constexpr int kReadDone = 0;    // imported, or nothing to do
constexpr int kReadFailed = 98; // no scene, a path too long, or a file the reader refused

// The read step for `filename` with the options stored in `settings`:
// 98 for a path of 260 characters or more or without a scene; 0 without an
// accepted options dialog (nothing is touched); otherwise the options are
// read into session.options (animation needs joints; groups exclude both),
// the file is loaded (98 when the reader refuses it, the scene untouched),
// scaled (scaleForImport) and built (buildImportedScene), and 0 returned.
// The session's current figure is cleared first; the document is empty on
// return, whatever the outcome. Progress goes through the host's DzProgress.
int runImportRead(ImportSession& session, const QString& filename,
                  const DzFileIOSettings* settings);

} // namespace importer
} // namespace yfx
