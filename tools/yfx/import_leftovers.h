// What the importer does not build from a project file, said before a
// project file is written as a model: the file is looked into (nothing
// written) and compared with what the read step takes (the first UV set, map
// channels 0 to 3, the first animation only, no cameras, no vertex colours).
#pragma once

#include "model/model_notes.h"

#include <string>

namespace yfx {

struct SceneDoc;

// `joints` and `animation`: the import's options.
void noteImportLeftovers(const SceneDoc& doc, bool joints, bool animation,
                         model::ModelNotes& notes);

} // namespace yfx
