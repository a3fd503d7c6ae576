// Emptying a document.
#pragma once

#include "document/scene_doc.h"

namespace yfx {

// Frees every record array (with everything the records own), zeroes the
// section counts and offsets and the legacy UV count. The version, the UV
// section position and the reader scratch word are kept.
void clearDocument(SceneDoc& doc);

} // namespace yfx
