// A small scene with a record of every kind, built in memory the way the
// exporter leaves a document (UV coordinates in each mesh's own UV sets), for
// "yfx sample" and the main job: two lights, a camera, two materials with
// maps of several types, two groups, a weighted cube of six quads with two
// UV sets, two bones and an animation.
#pragma once

#include "document/scene_doc.h"

namespace yfx {

SceneDoc makeSampleDocument();

} // namespace yfx
