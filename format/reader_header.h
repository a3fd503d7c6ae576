// Header and dispatch: the magic, the version and its header, the size test,
// the inflation of a compressed body, and the hand-over to the layout reader
// of the version.
#pragma once

#include "format/reader.h"

namespace yfx {

// Parses the image the reader holds into its document. Returns a load status
// (1, 0, -5, -6, -7) with the reason set on failure.
int parseImage(Reader& r);

} // namespace yfx
