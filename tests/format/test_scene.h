// A small document with every kind of record the writers handle: lights, a
// camera, materials with maps of every type (and an unknown one), groups,
// weighted vertices, two meshes with UV sets, polygons in and out of groups,
// bones and an animation.
#pragma once

#include <cstdint>
#include <vector>

#include "document/scene_doc.h"
#include "format/writer_options.h"

namespace yfx_test {

yfx::SceneDoc makeFullScene();
// Every option on, short info texts.
yfx::WriterOptions allOptions();
// The document as the version 31 (or version 9) writer writes it with those
// options, a plain stream; empty when the writer fails.
std::vector<std::uint8_t> writtenStream(const yfx::SceneDoc& doc, bool version9);

} // namespace yfx_test
