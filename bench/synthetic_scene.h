// A large synthetic scene for the file benchmarks: a grid mesh of about one
// million quads over about one million vertices, four skin weights per
// vertex, two UV sets, 50 materials, 200 bones and one animation. The same
// parameters always give the same document.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx_bench {

struct SyntheticSceneSize {
    std::int32_t columns = 1000; // vertices per grid row
    std::int32_t rows = 1001;    // grid rows
    std::int32_t materials = 50;
    std::int32_t bones = 200;
    std::int32_t groups = 20;
    std::int32_t keys = 30; // keys per track of the animation
};

// Fills an empty document.
void buildSyntheticScene(yfx::SceneDoc& doc, const SyntheticSceneSize& size = {});

} // namespace yfx_bench
