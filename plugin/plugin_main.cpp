// The library's entry points, its plug-in object and the two class factories.
// Everything here is built by static initialisation when the host loads the
// library, in this order: the plug-in object, its author, version and
// description, the exporter's GUID and factory, the importer's GUID and
// factory. The module the stand-in host loads has one more entry point, for a
// host harness (plugin/harness_entry.cpp).
#include "plugin/yfx_export_filter.h"
#include "plugin/yfx_import_filter.h"

#include <dzplugin.h>

DZ_PLUGIN_DEFINITION("Marrowmap Importer/Exporter")

DZ_PLUGIN_AUTHOR("Morgan Reyes")

DZ_PLUGIN_VERSION(3, 50, 0, 31)

DZ_PLUGIN_DESCRIPTION("Website: <a href=\"https://www.marrowmap.com\">www.marrowmap.com</a>"
                      "<br><br>Marrowmap Importer/Exporter for DAZ Studio 4.5 to 4.11.")

// The GUIDs are written bare, as the macro wants them; keep the formatter off them.
// clang-format off
DZ_PLUGIN_CLASS_GUID(YFXExportFilter, B9389A3C-0686-4d54-AE15-09AD08C459EE)
DZ_PLUGIN_CLASS_GUID(YFXImportFilter, F11AA853-009E-4df5-B3A0-129C1DB65C6F)
// clang-format on
