// The two filter classes as the host sees them: what they are, what they
// recognise and how they describe themselves.
#include "plugin/yfx_export_filter.h"
#include "plugin/yfx_import_filter.h"

#include <gtest/gtest.h>

#include <cwchar>

TEST(FilterClassesTest, ImporterRecognisesTheExtensionInAnyCaseOnly) {
    const YFXImportFilter importer;
    for (const char* name : {"a.YFX", "b.yFx", "c.yfx", "C:\\scenes\\d.Yfx", "dir/e.yfx",
                             "dir.old\\f.yfx", "archive.tar.yfx"}) {
        EXPECT_TRUE(importer.recognize(QString::fromLatin1(name))) << name;
    }
    for (const char* name : {"c.yfx2", "noext", "dir.yfx\\file", "dir.yfx/file", "g.yf", "h.xyfx",
                             "i.yfx.bak", "j.", ""}) {
        EXPECT_FALSE(importer.recognize(QString::fromLatin1(name))) << name;
    }
}

TEST(FilterClassesTest, ImporterReportsOneExtensionWhateverTheIndex) {
    const YFXImportFilter importer;
    EXPECT_EQ(importer.getNumExtensions(), 1);
    for (int index : {0, 1, -1, 1000}) {
        EXPECT_EQ(importer.getExtension(index), QStringLiteral("YFX")) << index;
    }
    EXPECT_EQ(importer.getDescription(), QStringLiteral("Marrowmap"));
}

TEST(FilterClassesTest, ExporterWritesYfxFiles) {
    const YFXExportFilter exporter;
    EXPECT_EQ(exporter.getExtension(), QStringLiteral("YFX"));
    EXPECT_EQ(exporter.getDescription(), QStringLiteral("Marrowmap"));
    EXPECT_TRUE(exporter.isFileExporter());
}

TEST(FilterClassesTest, MetaObjectsAnswerForTheHostClassNames) {
    YFXExportFilter exporter;
    YFXImportFilter importer;
    EXPECT_EQ(exporter.className(), QStringLiteral("YFXExportFilter"));
    EXPECT_EQ(importer.className(), QStringLiteral("YFXImportFilter"));
    for (const char* base : {"YFXExportFilter", "DzExporter", "DzFileIO", "DzBase", "QObject"}) {
        EXPECT_TRUE(exporter.inherits(QString::fromLatin1(base))) << base;
        EXPECT_NE(exporter.qt_metacast(base), nullptr) << base;
    }
    for (const char* base : {"YFXImportFilter", "DzImporter", "DzFileIO", "DzBase", "QObject"}) {
        EXPECT_TRUE(importer.inherits(QString::fromLatin1(base))) << base;
        EXPECT_NE(importer.qt_metacast(base), nullptr) << base;
    }
    EXPECT_FALSE(exporter.inherits(QStringLiteral("DzImporter")));
    EXPECT_EQ(exporter.qt_metacast("YFXImportFilter"), nullptr);
    EXPECT_EQ(importer.qt_metacast("DzExporter"), nullptr);
    EXPECT_EQ(qobject_cast<DzImporter*>(&exporter), nullptr);
    EXPECT_EQ(qobject_cast<DzExporter*>(static_cast<QObject*>(&exporter)), &exporter);
}

TEST(FilterClassesTest, FiltersStartWithTheirDocumentedOptionsAndTexts) {
    const YFXExportFilter exporter;
    const int exportOptions[] = {
        exporter.export_lights,       exporter.export_materials, exporter.header_flag_option,
        exporter.export_uvs,          exporter.export_uvsets,    exporter.export_joints,
        exporter.export_animation,    exporter.export_visible,   exporter.export_zeropose,
        exporter.merge_materials,     exporter.export_textures,  exporter.collapse_uvs,
        exporter.export_high_resmesh, exporter.export_as_v2x,    exporter.logging_enabled};
    const int expectedExport[] = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1};
    for (std::size_t i = 0; i < std::size(expectedExport); ++i) {
        EXPECT_EQ(exportOptions[i], expectedExport[i]) << "export field " << i;
    }
    EXPECT_EQ(exporter.node_counter, 0);
    EXPECT_STREQ(exporter.creator_text, L"Marrowmap Pro Filter for Daz Studio 4.x");
    EXPECT_STREQ(exporter.version_text, L"v3.0");
    EXPECT_STREQ(exporter.time_text, L"");
    EXPECT_STREQ(exporter.document_path, L"");
    EXPECT_TRUE(exporter.document.meshes.empty());
    EXPECT_TRUE(exporter.document.bones.empty());

    const YFXImportFilter importer;
    const int importOptions[] = {importer.import_lights,    importer.import_groups,
                                 importer.import_materials, importer.import_uvs,
                                 importer.import_uvsets,    importer.import_joints,
                                 importer.import_animation};
    const int expectedImport[] = {1, 0, 1, 1, 1, 0, 0};
    for (std::size_t i = 0; i < std::size(expectedImport); ++i) {
        EXPECT_EQ(importOptions[i], expectedImport[i]) << "import field " << i;
    }
    EXPECT_EQ(importer.import_scale_factor, 1.0f);
    EXPECT_EQ(importer.file_data, nullptr);
    EXPECT_EQ(importer.file_size, 0u);
    EXPECT_STREQ(importer.creator_text, L"Marrowmap Pro Filter for Daz Studio 4.x");
    EXPECT_STREQ(importer.version_text, L"v3.0");
}
