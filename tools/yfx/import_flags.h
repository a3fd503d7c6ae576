// The import command's flags: one check-box pair per option of the import
// dialog, in the order of the option keys (import/import_option_keys.h), each
// starting as the dialog's check box starts, and the scale factor.
#pragma once

#include "tools/yfx/export_flags.h"

#include <string>
#include <vector>

namespace yfx {

// Seven pairs, index i carrying import option key i.
const std::vector<ExportFlagPair>& importFlagPairs();

// The same pairs as `yfx convert` starts them when it imports a project file
// to write a model: joints and animation ticked.
const std::vector<ExportFlagPair>& convertImportFlagPairs();

// The dialog's starting scale factor.
constexpr float kImportStartingScale = 1.0f;

struct ImportFlags {
    std::vector<int> options; // one value per pair
    float scale = kImportStartingScale;
};

// Takes the check-box flags and "--scale F" out of `args` (everything after
// "--" stays) and leaves every other argument there. A pair given both ways,
// "--scale" without a value or with one that is not a finite number, or
// given twice with different values, is a usage error: false with `error`
// saying which.
bool takeImportFlags(std::vector<std::string>& args, ImportFlags& flags, std::string& error);
// The same over another table of the seven pairs.
bool takeImportFlags(std::vector<std::string>& args, ImportFlags& flags, std::string& error,
                     const std::vector<ExportFlagPair>& pairs);

} // namespace yfx
