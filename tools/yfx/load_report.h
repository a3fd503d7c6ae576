// Loading a project file for a command, with a failure said in words: the
// reader's own reason when it gives one, else what its status means.
#pragma once

#include <string>

#include "document/scene_doc.h"
#include "format/load_file.h"

namespace yfx {

// What a load status means ("not a project file", ...).
const char* loadStatusText(int status);

// Loads the file named on the command line into `doc` (after the post-parse
// passes). The options say whether and where embedded files are written:
// commands that only look at a file pass inspectionLoad(). Returns the
// reader's status; on any status but 1, `reason` says what failed and where.
int loadForCommand(SceneDoc& doc, const std::string& path, std::string& reason,
                   const LoadOptions& options);

} // namespace yfx
