// The settings keys that carry the options from the options steps to the
// write and read steps. Options are integers: 1 on, anything else off.
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

// Result of the import dialog: 1 accepted, 0 cancelled.
constexpr const char* kImportDialogReturnedKey = "import_dialog_returned";

// The import options, in the order of the import dialog's check boxes.
constexpr int kImportOptionCount = 7;
constexpr const char* kImportOptionKeys[kImportOptionCount] = {
    "import_lights_checkstate",    "import_groups_checkstate", "import_materials_checkstate",
    "import_uvs_checkstate",       "import_uvsets_checkstate", "import_joints_checkstate",
    "import_animation_checkstate",
};

// The import scale factor, a float value.
constexpr const char* kImportScaleFactorKey = "import_scale_factor";

} // namespace yfx
