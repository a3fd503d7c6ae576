// The exporter made by the loaded module's factory writes a scene of the
// harness, and the messages its write step shows reach the harness through
// the module's sink entry point instead of a message box.
#include "export/export_option_keys.h"
#include "plugin/harness_entry.h"
#include "plugin/plugin_test_support.h"

#include <dzexporter.h>
#include <dzfileiosettings.h>
#include <dzplugin.h>
#include <dzpointlight.h>
#include <dzscene.h>

#include <QtCore/QFile>
#include <QtCore/QLibrary>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Received {
    int kind;
    std::string title;
    std::string text;
};

int collect(void* user, int kind, const char* title, const char* text) {
    static_cast<std::vector<Received>*>(user)->push_back({kind, title, text});
    return 0;
}

TEST(ModuleExportTest, WriteReportsToTheHarnessSink) {
    QLibrary library(QStringLiteral(YFX_PLUGIN_MODULE_PATH));
    ASSERT_TRUE(library.load()) << qPrintable(library.errorString());
    const auto setSink = reinterpret_cast<YfxSetHarnessMessageSinkFn>(
        library.resolve(kYfxSetHarnessMessageSinkName));
    const auto definition =
        reinterpret_cast<DzPlugin* (*)()>(library.resolve("getPluginDefinition"));
    ASSERT_NE(setSink, nullptr);
    ASSERT_NE(definition, nullptr);
    DzClassFactoryIterator factories = definition()->getFactories();
    ASSERT_TRUE(factories.hasNext());
    std::unique_ptr<QObject> object(factories.next()->createInstance());
    auto* exporter = qobject_cast<DzExporter*>(object.get());
    ASSERT_NE(exporter, nullptr);

    DzScene::create();
    dzScene->addNode(new DzPointLight);
    DzFileIOSettings settings;
    settings.setIntValue(QString::fromLatin1(yfx::kExportDialogReturnedKey), 1);
    for (const char* key : yfx::kExportOptionKeys) {
        settings.setIntValue(QString::fromLatin1(key), 1);
    }
    std::vector<Received> messages;
    setSink(&collect, &messages);

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("scene.yfx"));
    EXPECT_EQ(exporter->writeFile(target, &settings), DZ_NO_ERROR);
    EXPECT_EQ(exporter->writeFile(dir.filePath(QStringLiteral("missing/scene.yfx")), &settings),
              DZ_OPERATION_FAILED_ERROR);
    setSink(nullptr, nullptr);
    DzScene::destroy();

    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(4), QByteArray("YFXH"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("logfile.txt"))));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, kYfxHarnessInformation);
    EXPECT_EQ(messages[0].title, "Success");
    EXPECT_EQ(messages[0].text, "The file was exported successfully.");
    EXPECT_EQ(messages[1].kind, kYfxHarnessWarning);
    EXPECT_EQ(messages[1].title, "Error");
    EXPECT_NE(messages[1].text.find("/missing"), std::string::npos) << messages[1].text;
}

} // namespace
