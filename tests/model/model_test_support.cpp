#include "model_test_support.h"

#include "tools/yfx/export_flags.h"
#include "tools/yfx/host_app.h"

#include <dzapp.h>

#include <QtCore/QDir>

#include <gtest/gtest.h>

#include <memory>

namespace modeltest {

namespace {

class HostEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        app = yfx::makeHostApp();
        QString error;
        loaded = yfx::openFilterModule(QStringLiteral(YFX_PLUGIN_MODULE_PATH), module, error);
        ASSERT_TRUE(loaded) << error.toStdString();
    }
    void TearDown() override { app.reset(); }

    std::unique_ptr<DzApp> app;
    yfx::FilterModule module;
    bool loaded = false;
};

HostEnvironment* environment =
    static_cast<HostEnvironment*>(::testing::AddGlobalTestEnvironment(new HostEnvironment));

} // namespace

const yfx::FilterModule& filterModule() {
    return environment->module;
}

std::vector<int> defaultExportOptions() {
    std::vector<int> options;
    for (const yfx::ExportFlagPair& pair : yfx::exportFlagPairs()) {
        options.push_back(pair.start);
    }
    return options;
}

yfx::ModelToProject convertRequest(const QString& model, const QString& project) {
    yfx::ModelToProject request;
    request.model = model;
    request.project = project;
    request.exportOptions = defaultExportOptions();
    request.showProgress = false;
    return request;
}

yfx::ImportFlags defaultConvertImportFlags() {
    yfx::ImportFlags flags;
    for (const yfx::ExportFlagPair& pair : yfx::convertImportFlagPairs()) {
        flags.options.push_back(pair.start);
    }
    return flags;
}

Scratch::Scratch() {
    EXPECT_TRUE(m_dir.isValid());
}

QString Scratch::folder(const QString& name) const {
    QDir(m_dir.path()).mkpath(name);
    return path(name);
}

} // namespace modeltest
