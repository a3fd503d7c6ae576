// A small document with every kind of record the writers handle: lights, a
// camera, materials with maps of every type (and an unknown one), groups,
// weighted vertices, two meshes with UV sets, polygons in and out of groups,
// bones and an animation.
#pragma once

#include "document/scene_doc.h"
#include "format/writer_options.h"

namespace yfx_test {

yfx::SceneDoc makeFullScene();
// Every option on, short info texts.
yfx::WriterOptions allOptions();

} // namespace yfx_test
