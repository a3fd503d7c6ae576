#include "import/import_settings.h"

#include "import/import_option_keys.h"

#include <dzfileiosettings.h>

#include <cmath>
#include <limits>

namespace yfx {
namespace importer {

namespace {

// The option fields in the order of their settings keys.
constexpr std::int32_t ImportOptions::*kOptionFields[] = {
    &ImportOptions::import_lights,    &ImportOptions::import_groups,
    &ImportOptions::import_materials, &ImportOptions::import_uvs,
    &ImportOptions::import_uvsets,    &ImportOptions::import_joints,
    &ImportOptions::import_animation,
};

static_assert(sizeof(kOptionFields) / sizeof(kOptionFields[0]) == kImportOptionCount,
              "one field for every import option key");

} // namespace

bool importDialogReturned(const DzFileIOSettings* settings) {
    return settings != nullptr &&
           settings->getIntValue(QString::fromLatin1(kImportDialogReturnedKey), 0) != 0;
}

void readImportOptions(const DzFileIOSettings& settings, ImportOptions& options) {
    for (int i = 0; i < kImportOptionCount; ++i) {
        options.*kOptionFields[i] =
            settings.getIntValue(QString::fromLatin1(kImportOptionKeys[i]), 0);
    }
    const double factor = settings.getFloatValue(QString::fromLatin1(kImportScaleFactorKey), 0.0f);
    // A value beyond the float range narrows to infinity (a plain conversion
    // would be undefined); the scale step then imports at factor 1.
    options.import_scale_factor = std::fabs(factor) <= double(std::numeric_limits<float>::max())
                                      ? static_cast<float>(factor)
                                      : std::numeric_limits<float>::infinity();
}

void applyOptionRules(ImportOptions& options) {
    if (isOn(options.import_animation) && !isOn(options.import_joints)) {
        options.import_joints = 0;
        options.import_animation = 0;
    }
    if (isOn(options.import_groups)) {
        options.import_joints = 0;
        options.import_animation = 0;
    }
}

} // namespace importer
} // namespace yfx
