// Printing a gathered host scene (host_scene_report.h): as text for people,
// and as members of a JSON object with keys in a fixed order.
#pragma once

#include "tools/yfx/host_scene_report.h"
#include "tools/yfx/json_writer.h"

#include <cstdio>

namespace yfx {

// The sections "nodes" (as an indented tree), "shapes", "figures", "lights",
// "time line" and "animated properties".
void printHostSceneText(std::FILE* out, const HostSceneReport& report);

// The members "nodes", "shapes", "figures", "lights", "time_line" and
// "animated", in that order, into the JSON object the caller has open.
void writeHostSceneJson(JsonWriter& json, const HostSceneReport& report);

} // namespace yfx
