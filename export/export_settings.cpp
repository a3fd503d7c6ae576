#include "export/export_settings.h"

#include "export/export_option_keys.h"

#include <dzfileiosettings.h>

namespace yfx {
namespace exporter {

const ExportOptionField kExportOptionFields[kExportOptionFieldCount] = {
    {kExportOptionKeys[0], L"export_lights", &ExportOptions::export_lights},
    {kExportOptionKeys[1], L"export_materials", &ExportOptions::export_materials},
    {kExportOptionKeys[2], L"export_uvs", &ExportOptions::export_uvs},
    {kExportOptionKeys[3], L"export_uvsets", &ExportOptions::export_uvsets},
    {kExportOptionKeys[4], L"export_joints", &ExportOptions::export_joints},
    {kExportOptionKeys[5], L"export_animation", &ExportOptions::export_animation},
    {kExportOptionKeys[6], L"export_visible", &ExportOptions::export_visible},
    {kExportOptionKeys[7], L"export_zeropose", &ExportOptions::export_zeropose},
    {kExportOptionKeys[8], L"merge_materials", &ExportOptions::merge_materials},
    {kExportOptionKeys[9], L"collapse_uvs", &ExportOptions::collapse_uvs},
    {kExportOptionKeys[10], L"export_high_resmesh", &ExportOptions::export_high_resmesh},
    {kExportOptionKeys[11], L"export_textures", &ExportOptions::export_textures},
    {kExportOptionKeys[12], L"export_as_v2x", &ExportOptions::export_as_v2x},
};

static_assert(kExportOptionFieldCount == kExportOptionCount,
              "one field for every export option key");

bool exportDialogReturned(const DzFileIOSettings* settings) {
    return settings != nullptr &&
           settings->getIntValue(QString::fromLatin1(kExportDialogReturnedKey), 0) != 0;
}

void readExportOptions(const DzFileIOSettings& settings, ExportOptions& options) {
    for (const ExportOptionField& option : kExportOptionFields) {
        options.*option.field = settings.getIntValue(QString::fromLatin1(option.key), 0);
    }
}

} // namespace exporter
} // namespace yfx
