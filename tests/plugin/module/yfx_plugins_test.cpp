// "yfx plugins": the tool loads the module as the host does and reports it.
#include <QtCore/QProcess>
#include <QtCore/QProcessEnvironment>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <string>

namespace {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolRun runYfx(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The tool's own leak report (in sanitizer builds) is not what is tested.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(YFX_TOOL_PATH), args);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

} // namespace

TEST(YfxPluginsTest, ListsTheModuleBuiltBesideTheTool) {
    const ToolRun run = runYfx({QStringLiteral("plugins")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* expected :
         {"sdk version: 4.5.0.100", "name:        Marrowmap Importer/Exporter",
          "version:     3.50.0.31", "factories:   2", "factory 0: YFXExportFilter",
          "guid:        B9389A3C-0686-4D54-AE15-09AD08C459EE", "factory 1: YFXImportFilter",
          "guid:        F11AA853-009E-4DF5-B3A0-129C1DB65C6F", "kind:        exporter",
          "kind:        importer", "extensions:  YFX", "description: Marrowmap"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
    EXPECT_LT(run.out.find("YFXExportFilter"), run.out.find("YFXImportFilter"));
}

TEST(YfxPluginsTest, JsonOutputOfAnExplicitModule) {
    const ToolRun run = runYfx({QStringLiteral("plugins"), QStringLiteral("--json"),
                                QStringLiteral(YFX_PLUGIN_MODULE_PATH)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc.at("sdk_version"), "4.5.0.100");
    EXPECT_EQ(doc.at("version"), "3.50.0.31");
    ASSERT_EQ(doc.at("factories").size(), 2u);
    EXPECT_EQ(doc["factories"][0].at("class"), "YFXExportFilter");
    EXPECT_EQ(doc["factories"][0].at("kind"), "exporter");
    EXPECT_EQ(doc["factories"][1].at("guid"), "F11AA853-009E-4DF5-B3A0-129C1DB65C6F");
    EXPECT_EQ(doc["factories"][1].at("extensions"), nlohmann::json::array({"YFX"}));
    EXPECT_EQ(doc["factories"][1].at("description"), "Marrowmap");
}

TEST(YfxPluginsTest, FailuresAndUsageErrorsHaveTheirExitStatus) {
    const ToolRun missing =
        runYfx({QStringLiteral("plugins"), QStringLiteral("/nonexistent/m.so")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("/nonexistent/m.so"), std::string::npos) << missing.err;
    EXPECT_TRUE(missing.out.empty());

    // A library that is not a plug-in: no entry points.
    const ToolRun notPlugin = runYfx({QStringLiteral("plugins"), QStringLiteral(YFX_DZCORE_PATH)});
    EXPECT_EQ(notPlugin.exitCode, 1);
    EXPECT_NE(notPlugin.err.find("getSDKVersion"), std::string::npos) << notPlugin.err;

    EXPECT_EQ(runYfx({QStringLiteral("plugins"), QStringLiteral("--bogus")}).exitCode, 2);
    EXPECT_EQ(
        runYfx({QStringLiteral("plugins"), QStringLiteral("a"), QStringLiteral("b")}).exitCode, 2);
    EXPECT_EQ(runYfx({QStringLiteral("frobnicate")}).exitCode, 2);
    EXPECT_EQ(runYfx({}).exitCode, 2);

    const ToolRun help = runYfx({QStringLiteral("plugins"), QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: yfx plugins"), std::string::npos);
    const ToolRun mainHelp = runYfx({QStringLiteral("--help")});
    EXPECT_EQ(mainHelp.exitCode, 0);
    EXPECT_NE(mainHelp.out.find("plugins"), std::string::npos);
}
