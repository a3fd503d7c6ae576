// YFXExportFilter: the exporter the host creates for the "YFX" file type. Its
// options step shows the export options dialog and stores the answers in the
// host's settings; its write step is the export driver. The option fields are
// compared with 1 (on); the write step fills them from the settings.
#pragma once

#include "document/scene_doc.h"

#include <dzexporter.h>

class YFXExportFilter : public DzExporter {
    Q_OBJECT
public:
    YFXExportFilter();
    ~YFXExportFilter() override;

    static constexpr int kTextCapacity = 128;
    static constexpr int kPathCapacity = 260;

    int node_counter = 0; // the host node being visited while gathering
    int export_lights = 1;
    int export_materials = 1;
    // Never changed: while 1 the file header says vertex colours are present
    // and the writer writes them.
    int header_flag_option = 1;
    int export_uvs = 1;
    int export_uvsets = 1;
    int export_joints = 1;
    int export_animation = 1;
    int export_visible = 1;
    int export_zeropose = 0;
    int merge_materials = 0;
    int export_textures = 1;
    int collapse_uvs = 1;
    int export_high_resmesh = 0;
    int export_as_v2x = 0;
    // Never changed: while 1 the export writes its log file.
    int logging_enabled = 1;
    yfx::SceneDoc document; // empty between writes
    wchar_t creator_text[kTextCapacity] = {};
    wchar_t version_text[kTextCapacity] = {};
    wchar_t time_text[kTextCapacity] = {};
    wchar_t document_path[kPathCapacity] = {};

public slots:
    // The options step: shows the export options dialog over the main window
    // and stores "export_dialog_returned" and, when accepted, the thirteen
    // option keys. Without a main window it shows an "Error" warning and
    // stores nothing.
    void getDefaultOptions(DzFileIOSettings* options) const override;
    QString getDescription() const override;
    bool isFileExporter() const override { return true; }

protected:
    // The export driver (export/export_driver.h) over this filter's option
    // fields and document: 0 when done or when there was nothing to do, 98
    // when the export failed. Shows the driver's "Success" or "Error" message.
    DzError write(const QString& filename, const DzFileIOSettings* options) override;
};
