// The settings keys that carry the import options from the options step to
// the read step. Options are integers: 1 on, anything else off.
#pragma once

namespace yfx {

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
