// Gathering: the host scene (dzScene) walked into the export document. One
// DocBone per node in node order (pre-order over the scene's root nodes and
// their children), one DocMesh per node with a facet mesh (its vertices,
// polygons, UVs, surfaces and skin weights), one DocLight per light, and with
// animation on one DocAnimation sampled frame by frame. Log lines go through
// log_printf while logging is on.
#pragma once

#include "export/export_session.h"

namespace yfx {
namespace exporter {

// Gathers the scene into session.document. With export_zeropose on, the
// rotations the zero pose sets (and the keys it adds) are restored right
// after the object walk, before animation is sampled, and on every way out
// of this function; the scene's frame is back where it was on return.
// Gathering always completes: records that cannot be gathered are missing.
// Returns 1.
int gatherScene(ExportSession& session);

} // namespace exporter
} // namespace yfx
