// The options as the write step reads them from the host's settings object:
// "export_dialog_returned" and the thirteen option keys, each read with
// default 0 (an absent key is off).
#pragma once

#include "export/export_session.h"

class DzFileIOSettings;

namespace yfx {
namespace exporter {

constexpr int kExportOptionFieldCount = 13;

// One option: its settings key, the name the log shows, and its field.
struct ExportOptionField {
    const char* key;
    const wchar_t* log_name;
    std::int32_t ExportOptions::*field;
};

// The thirteen options in the order of their settings keys.
extern const ExportOptionField kExportOptionFields[kExportOptionFieldCount];

// True when the options step stored a non-zero "export_dialog_returned"; a
// missing settings object counts as a dialog never shown.
bool exportDialogReturned(const DzFileIOSettings* settings);

// Reads the thirteen option keys into their fields, in key order.
void readExportOptions(const DzFileIOSettings& settings, ExportOptions& options);

} // namespace exporter
} // namespace yfx
