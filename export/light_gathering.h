// Lights: each host light met in the object walk becomes a DocLight with its
// kind, colour, intensity, spot cone and placement. Cameras give no record.
#pragma once

#include "export/export_session.h"

class DzNode;

namespace yfx {
namespace exporter {

// Returns 1 (also for a node that is not a light), 0 when no DocLight can be
// appended. The placement is the node's transform at time 0.
int gatherLight(ExportSession& session, DzNode& node);

} // namespace exporter
} // namespace yfx
