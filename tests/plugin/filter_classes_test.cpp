// The two filter classes as the host sees them: what they are, what they
// recognise and how they describe themselves.
#include "plugin/yfx_export_filter.h"
#include "plugin/yfx_import_filter.h"

#include <gtest/gtest.h>

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
