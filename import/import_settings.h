// The options as the read step reads them from the host's settings object:
// "import_dialog_returned", the seven option keys (default 0, so an absent key
// is off) and "import_scale_factor" (default 0.0), and the rules that tie
// joints, animation and groups together.
#pragma once

#include "import/import_session.h"

class DzFileIOSettings;

namespace yfx {
namespace importer {

// True when the options step stored a non-zero "import_dialog_returned"; a
// missing settings object counts as a dialog never shown.
bool importDialogReturned(const DzFileIOSettings* settings);

// Reads the seven option keys into their fields, in key order, and the scale
// factor narrowed to a 32-bit float.
void readImportOptions(const DzFileIOSettings& settings, ImportOptions& options);

// Animation is never imported without joints, and neither joints nor
// animation together with groups: animation on with joints off turns both
// off; groups on then turns both off.
void applyOptionRules(ImportOptions& options);

} // namespace importer
} // namespace yfx
