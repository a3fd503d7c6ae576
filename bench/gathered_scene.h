// A gathered (per-mesh) document shaped like a heavy figure scene, as the
// exporter's scene walk leaves it before the processing passes: every mesh
// with its own vertices, weights, surfaces and UVs gathered per corner (both
// layers), one bone per node with its host matrix, and one animation with a
// key per frame on every bone. Every dimension grows with one size parameter, the polygon count: at
// 1,000,000 polygons there are 100 meshes (one of them with 1,000 surfaces),
// 2,000 surfaces in all with colour and opacity paths (half of them repeating
// another's paths in other letter case, for the merges), 2 UV sets over UDIM
// tiles 1001 to 1004, 4 weights per vertex, 200 bones and 300 frames; at
// 250,000 polygons a quarter of each. The same size always gives the same
// document.
#pragma once

#include <cstdint>

#include "document/scene_doc.h"

namespace yfx_bench {

struct GatheredSceneSize {
    std::int64_t polygons = 1000000;
};

// What the generator did besides filling the document: the time it spent
// capturing the animation keys frame by frame (captureTrackKeys), which the
// export runs while gathering.
struct GatheredSceneStats {
    double capture_seconds = 0;
    std::int32_t frames = 0;
    std::int64_t keys = 0; // frames x bones: the keys of each kind captured
};

// Fills an empty document.
GatheredSceneStats buildGatheredScene(yfx::SceneDoc& doc, const GatheredSceneSize& size = {});

} // namespace yfx_bench
