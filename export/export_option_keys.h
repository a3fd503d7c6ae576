// The settings keys that carry the export options from the options step to
// the write step. Options are integers: 1 on, anything else off.
#pragma once

namespace yfx {

// Result of the export dialog: 1 accepted, 0 cancelled.
constexpr const char* kExportDialogReturnedKey = "export_dialog_returned";

// The export options, in the order of the export dialog's check boxes.
constexpr int kExportOptionCount = 13;
constexpr const char* kExportOptionKeys[kExportOptionCount] = {
    "export_lights_checkstate",  "export_materials_checkstate",    "export_uvs_checkstate",
    "export_uvsets_checkstate",  "export_joints_checkstate",       "export_animation_checkstate",
    "export_visible_checkstate", "export_zeropose_checkstate",     "merge_materials_checkstate",
    "collapse_uvs_checkstate",   "export_high_resmesh_checkstate", "export_textures_checkstate",
    "export_as_v2x_checkstate",
};

} // namespace yfx
