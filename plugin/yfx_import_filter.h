// YFXImportFilter: the importer the host creates for "YFX" files. It
// recognises files by their extension, its options step shows the import
// options dialog and stores the answers in the host's settings, and its read
// step is the import driver. The option fields are compared with 1 (on); the
// read step fills them from the settings.
#pragma once

#include "document/scene_doc.h"

#include <dzimporter.h>

#include <cstdint>

class YFXImportFilter : public DzImporter {
    Q_OBJECT
public:
    YFXImportFilter();
    ~YFXImportFilter() override;

    static constexpr int kTextCapacity = 128;
    static constexpr int kPathCapacity = 260;

    // The reader's cursor over the file image; null and 0 outside a load.
    const unsigned char* file_data = nullptr;
    std::uint32_t file_position = 0;
    std::uint32_t file_size = 0;
    int import_lights = 1;
    int import_groups = 0;
    int import_materials = 1;
    int import_uvs = 1;
    int import_uvsets = 1;
    int import_joints = 0;
    int import_animation = 0;
    float import_scale_factor = 1.0f;
    yfx::SceneDoc document; // emptied after every read
    wchar_t creator_text[kTextCapacity] = {};
    wchar_t version_text[kTextCapacity] = {};
    wchar_t time_text[kTextCapacity] = {};
    wchar_t document_path[kPathCapacity] = {};

public slots:
    // The options step: shows the import options dialog over the main window
    // and stores "import_dialog_returned" and, when accepted, the seven option
    // keys and the scale factor. Without a main window it shows an "Error"
    // warning and stores nothing.
    void getDefaultOptions(DzFileIOSettings* options) const override;
    // True when the file name's extension is "yfx" in any letter case.
    bool recognize(const QString& filename) const override;
    int getNumExtensions() const override { return 1; }
    // "YFX" whatever the index.
    QString getExtension(int index) const override;
    QString getDescription() const override;

protected:
    // The import driver (import/import_driver.h) over this filter's option
    // fields and document: 0 when done or when there was nothing to do, 98
    // when there is no scene, the path is too long or the file was refused.
    // Shows no message.
    DzError read(const QString& filename, const DzFileIOSettings* options) override;
};
