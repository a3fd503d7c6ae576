// What the read step and the host building share during one import: the
// option fields of the importer, its document, the path of the file being
// read and the figure the build attaches bones, mesh and skin to. The
// importer filter (plugin/) owns the fields; it hands them to the driver in
// this record so that the host-facing import code does not depend on the
// plug-in's classes.
#pragma once

#include <QtCore/QPointer>

#include <dzfigure.h>

#include <cstdint>
#include <string>

#include "document/scene_doc.h"
#include "import/animation_keys.h"

namespace yfx {
namespace importer {

// The seven options in the order of their settings keys, then the scale
// factor. An option is on when it holds exactly 1.
struct ImportOptions {
    std::int32_t import_lights = 0;
    std::int32_t import_groups = 0;
    std::int32_t import_materials = 0;
    std::int32_t import_uvs = 0;
    std::int32_t import_uvsets = 0; // stored, but only the first UV set is imported
    std::int32_t import_joints = 0;
    std::int32_t import_animation = 0;
    float import_scale_factor = 0.0f;
};

inline bool isOn(std::int32_t option) {
    return option == 1;
}

struct ImportSession {
    ImportOptions options;
    SceneDoc& document;       // the importer's document, empty before and after every read
    std::wstring source_path; // the file being read, "/" turned into "\"
    // The first figure this read created; bones without a parent bone, the
    // figure mesh and the skin binding go to it. Cleared when the host
    // deletes the figure.
    QPointer<DzFigure> current_figure;
    // The most samples the animation bake of each read makes (see
    // kBakeSampleBudget); a harness may give less.
    std::uint64_t bake_sample_budget = kBakeSampleBudget;
    // How the first animation was baked: the frames its keys stand for.
    BakedFrames first_animation_frames;

    explicit ImportSession(SceneDoc& doc) : document(doc) {}
};

} // namespace importer
} // namespace yfx
