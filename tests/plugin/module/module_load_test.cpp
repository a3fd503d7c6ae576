// The plug-in module loaded the way the host loads it: by path, entry points
// by name, everything else through the SDK's base classes.
#include "plugin/plugin_test_support.h"

#include <dzexporter.h>
#include <dzimporter.h>
#include <dzplugin.h>

#include <QtCore/QLibrary>
#include <QtScript/QScriptEngine>

#include <gtest/gtest.h>

#include <memory>

namespace {

using SdkVersionEntry = DzVersion (*)();
using PluginDefinitionEntry = DzPlugin* (*)();

// The module stays loaded for the rest of the run, as in the host.
QLibrary& module() {
    static QLibrary* library = [] {
        auto* lib = new QLibrary(QStringLiteral(YFX_PLUGIN_MODULE_PATH));
        EXPECT_TRUE(lib->load()) << qPrintable(lib->errorString());
        return lib;
    }();
    return *library;
}

DzPlugin* plugin() {
    auto entry = reinterpret_cast<PluginDefinitionEntry>(module().resolve("getPluginDefinition"));
    return entry != nullptr ? entry() : nullptr;
}

std::vector<DzClassFactory*> factories() {
    std::vector<DzClassFactory*> out;
    if (DzPlugin* p = plugin()) {
        for (DzClassFactoryIterator it = p->getFactories(); it.hasNext();) {
            out.push_back(it.next());
        }
    }
    return out;
}

template <class T> std::unique_ptr<T> create(const DzClassFactory* factory) {
    QObject* object = factory->createInstance();
    T* typed = qobject_cast<T*>(object);
    if (typed == nullptr) {
        delete object;
    }
    return std::unique_ptr<T>(typed);
}

} // namespace

TEST(ModuleLoadTest, EntryPointsReportTheSdkAndThePlugin) {
    ASSERT_TRUE(module().isLoaded());
    auto sdkVersion = reinterpret_cast<SdkVersionEntry>(module().resolve("getSDKVersion"));
    ASSERT_NE(sdkVersion, nullptr);
    EXPECT_EQ(sdkVersion(), DzVersion(4, 5, 0, 100));
    EXPECT_EQ(sdkVersion().getVersionString(), QStringLiteral("4.5.0.100"));

    DzPlugin* p = plugin();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p, plugin()); // one static object
    EXPECT_EQ(p->getName(), QStringLiteral("Marrowmap Importer/Exporter"));
    EXPECT_EQ(p->getVersion(), DzVersion(3, 50, 0, 31));
    EXPECT_EQ(p->getVersionString(), QStringLiteral("3.50.0.31"));
    EXPECT_FALSE(p->getAuthor().isEmpty());
    EXPECT_TRUE(p->getDescription().startsWith(QStringLiteral("Website: <a href=")));
    EXPECT_TRUE(p->getDescription().endsWith(
        QStringLiteral("</a><br><br>Marrowmap Importer/Exporter for DAZ Studio 4.5 to 4.11.")));
}

TEST(ModuleLoadTest, FactoriesComeExporterFirstWithTheirGuids) {
    const std::vector<DzClassFactory*> list = factories();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0]->className(), "YFXExportFilter");
    EXPECT_STREQ(list[1]->className(), "YFXImportFilter");
    EXPECT_EQ(list[0]->classID(),
              DzGuid::fromString(QStringLiteral("B9389A3C-0686-4d54-AE15-09AD08C459EE")));
    EXPECT_EQ(list[1]->classID(),
              DzGuid::fromString(QStringLiteral("F11AA853-009E-4df5-B3A0-129C1DB65C6F")));
    EXPECT_EQ(list[0]->classID().toString(),
              QStringLiteral("B9389A3C-0686-4D54-AE15-09AD08C459EE"));
    EXPECT_TRUE(list[0]->provides("DzExporter"));
    EXPECT_TRUE(list[0]->provides("DzFileIO"));
    EXPECT_FALSE(list[0]->provides("DzImporter"));
    EXPECT_TRUE(list[1]->provides("DzImporter"));
    EXPECT_FALSE(list[1]->provides("DzExporter"));
}

TEST(ModuleLoadTest, ExporterFromItsFactoryAnswersThroughTheHostBase) {
    const std::vector<DzClassFactory*> list = factories();
    ASSERT_EQ(list.size(), 2u);
    std::unique_ptr<DzExporter> exporter = create<DzExporter>(list[0]);
    ASSERT_NE(exporter, nullptr);
    EXPECT_EQ(exporter->parent(), nullptr);
    EXPECT_EQ(exporter->className(), QStringLiteral("YFXExportFilter"));
    EXPECT_TRUE(exporter->inherits(QStringLiteral("YFXExportFilter")));
    EXPECT_NE(exporter->qt_metacast("YFXExportFilter"), nullptr);
    EXPECT_EQ(exporter->qt_metacast("YFXImportFilter"), nullptr);
    EXPECT_EQ(exporter->getExtension(), QStringLiteral("YFX"));
    EXPECT_EQ(exporter->getDescription(), QStringLiteral("Marrowmap"));
    EXPECT_TRUE(exporter->isFileExporter());

    // Arguments are ignored: the same class comes back.
    std::unique_ptr<QObject> again(list[0]->createInstance(QVariantList{1, QStringLiteral("x")}));
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again->metaObject()->className(), "YFXExportFilter");
}

TEST(ModuleLoadTest, ImporterFromItsFactoryRecognisesYfxNames) {
    const std::vector<DzClassFactory*> list = factories();
    ASSERT_EQ(list.size(), 2u);
    std::unique_ptr<DzImporter> importer = create<DzImporter>(list[1]);
    ASSERT_NE(importer, nullptr);
    EXPECT_EQ(importer->className(), QStringLiteral("YFXImportFilter"));
    EXPECT_EQ(importer->qt_metacast("DzExporter"), nullptr);
    EXPECT_TRUE(importer->recognize(QStringLiteral("a.YFX")));
    EXPECT_TRUE(importer->recognize(QStringLiteral("b.yFx")));
    EXPECT_FALSE(importer->recognize(QStringLiteral("c.yfx2")));
    EXPECT_FALSE(importer->recognize(QStringLiteral("noext")));
    EXPECT_FALSE(importer->recognize(QStringLiteral("dir.yfx\\file")));
    EXPECT_EQ(importer->getNumExtensions(), 1);
    EXPECT_EQ(importer->getExtension(0), QStringLiteral("YFX"));
    EXPECT_EQ(importer->getExtension(3), QStringLiteral("YFX"));
    EXPECT_EQ(importer->getDescription(), QStringLiteral("Marrowmap"));
}

TEST(ModuleLoadTest, ScriptsConstructEachFilterByItsClassName) {
    const std::vector<DzClassFactory*> list = factories();
    ASSERT_EQ(list.size(), 2u);
    QScriptEngine engine;
    EXPECT_FALSE(engine.globalObject().property(QStringLiteral("YFXExportFilter")).isValid());
    for (const DzClassFactory* factory : list) {
        factory->registerClass(&engine);
    }
    for (const DzClassFactory* factory : list) {
        const QString name = QString::fromLatin1(factory->className());
        EXPECT_TRUE(engine.globalObject().property(name).isValid()) << qPrintable(name);
    }

    const QScriptValue exporter = engine.evaluate(QStringLiteral("new YFXExportFilter()"));
    ASSERT_FALSE(engine.hasUncaughtException())
        << qPrintable(engine.uncaughtException().toString());
    std::unique_ptr<QObject> exportObject(exporter.toQObject());
    ASSERT_NE(exportObject, nullptr);
    EXPECT_STREQ(exportObject->metaObject()->className(), "YFXExportFilter");

    engine.globalObject().setProperty(QStringLiteral("importer"),
                                      engine.evaluate(QStringLiteral("new YFXImportFilter()")));
    ASSERT_FALSE(engine.hasUncaughtException())
        << qPrintable(engine.uncaughtException().toString());
    std::unique_ptr<QObject> importObject(
        engine.globalObject().property(QStringLiteral("importer")).toQObject());
    ASSERT_NE(importObject, nullptr);
    EXPECT_STREQ(importObject->metaObject()->className(), "YFXImportFilter");
    // The script sees the filter's slots.
    EXPECT_TRUE(engine.evaluate(QStringLiteral("importer.recognize('x.Yfx')")).toBool());
    EXPECT_FALSE(engine.evaluate(QStringLiteral("importer.recognize('x.obj')")).toBool());
    EXPECT_EQ(engine.evaluate(QStringLiteral("importer.getDescription()")).toString(),
              QStringLiteral("Marrowmap"));
    EXPECT_FALSE(engine.hasUncaughtException());
    engine.globalObject().setProperty(QStringLiteral("importer"), QScriptValue());
}
